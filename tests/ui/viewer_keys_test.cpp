// The wheel and the keys of the window offscreen: each does what its mouse equivalent does, to the
// last bit of the eye, and the dialog's own keyboard navigation stays as it was.
#include <cstring>

#include <QAbstractButton>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWheelEvent>

#include "geometry/view_changes.h"
#include "ui/instructions_dlg.h"
#include "ui/help_dlg.h"
#include "window_test_support.h"

namespace {

bool SameBits(Vec3 a, Vec3 b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

ViewState FreshFrameView(SurfaceKind kind)
{
    ViewState view;
    ResetViewState(view);
    view.surface = kind;
    return view;
}

void Turn(QWidget& square, int angleDelta)
{
    const QPointF at(250, 250);
    QWheelEvent wheel(at, square.mapToGlobal(at), {}, {0, angleDelta}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&square, &wheel);
}

// One drag step of travel pixels with real mouse events, starting on the square.
void Drag(CViewerDlg& dlg, QPoint travel)
{
    const QPoint start(420, 260);
    QTest::mousePress(&dlg, Qt::LeftButton, {}, start);
    QTest::mouseMove(&dlg, start + travel);
    QTest::mouseRelease(&dlg, Qt::LeftButton, {}, start + travel);
}

void ClickArrow(QScrollBar& bar, QStyle::SubControl arrow)
{
    QTest::mouseClick(&bar, Qt::LeftButton, {}, PartOf(bar, arrow));
}

}   // namespace

class ViewerKeysTest : public QObject {
    Q_OBJECT

    CViewerDlg* dlg = nullptr;
    CViewerDlg* mouse = nullptr;   // a second window driven by the mouse, for comparison
    QWidget* square = nullptr;

    QAbstractButton* Button(CViewerDlg& d, const char* name) { return d.findChild<QAbstractButton*>(name); }
    QScrollBar* Bar(CViewerDlg& d, const char* name) { return d.findChild<QScrollBar*>(name); }
    void Key(int key, Qt::KeyboardModifiers modifiers = {})
    {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus != nullptr ? focus : dlg, Qt::Key(key), modifiers);
    }

private slots:
    void init()
    {
        mouse = new CViewerDlg;
        mouse->show();
        QVERIFY(QTest::qWaitForWindowExposed(mouse));
        dlg = new CViewerDlg;
        QVERIFY(ShowActive(*dlg));
        square = dlg->findChild<QWidget*>("IDC_FRAME_SQUARE");
        QVERIFY(square != nullptr && square->geometry().contains(kFrameRect));
    }
    void cleanup()
    {
        delete dlg;
        delete mouse;
    }

    void beforeTheFirstSurfaceNoKeyAndNoWheelDraws()
    {
        square->setFocus();
        for (int key : {Qt::Key_Right, Qt::Key_Plus, Qt::Key_Minus, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home})
            Key(key);
        Key(Qt::Key_Left, Qt::ControlModifier);
        Turn(*square, 120);
        QCOMPARE(dlg->FramesRendered(), 0);
        QCOMPARE(dlg->View().zoom, 20.0);
    }

    void wheelNotchesStepTheZoomBarAsItsArrows()
    {
        ClickSurface(*dlg, kSphere);
        QScrollBar* zoomBar = Bar(*dlg, "IDC_SCROLL_ZOOM");
        Turn(*square, 120);
        QVERIFY(dlg->View().zoom == 51.0 && zoomBar->value() == 49 && zoomBar->sliderPosition() == 49);
        Turn(*square, 60);   // half a notch waits for its other half
        QCOMPARE(dlg->View().zoom, 51.0);
        Turn(*square, 60);
        QVERIFY(dlg->View().zoom == 52.0 && zoomBar->value() == 48);
        Turn(*square, -360);
        QVERIFY(dlg->View().zoom == 49.0 && zoomBar->value() == 51);
        QCOMPARE(dlg->FramesRendered(), 6);
        ClickSurface(*mouse, kSphere);
        for (QStyle::SubControl arrow :
             {QStyle::SC_ScrollBarSubLine, QStyle::SC_ScrollBarSubLine, QStyle::SC_ScrollBarAddLine,
              QStyle::SC_ScrollBarAddLine, QStyle::SC_ScrollBarAddLine})
            ClickArrow(*Bar(*mouse, "IDC_SCROLL_ZOOM"), arrow);
        QCOMPARE(CountDifferences(ShownFrame(*dlg), ShownFrame(*mouse)), 0);
        Turn(*square, 120 * 60);   // held at the top as the arrow holds it
        QVERIFY(dlg->View().zoom == 100.0 && zoomBar->value() == 0);
    }

    void arrowKeysOnTheSquareOrbitAsDragsOfTenPixels()
    {
        ClickSurface(*dlg, kTorus);
        ClickSurface(*mouse, kTorus);
        QTest::mouseClick(square, Qt::LeftButton);   // a click gives the square the focus
        QCOMPARE(QApplication::focusWidget(), square);
        const std::pair<int, QPoint> steps[] = {
            {Qt::Key_Right, {10, 0}}, {Qt::Key_Down, {0, 10}}, {Qt::Key_Left, {-10, 0}}, {Qt::Key_Up, {0, -10}}};
        for (const auto& [key, travel] : steps) {
            const int frames = dlg->FramesRendered();
            Key(key);
            Drag(*mouse, travel);
            QVERIFY(SameBits(dlg->View().eye, mouse->View().eye));
            QCOMPARE(dlg->FramesRendered(), frames + 1);
        }
        QVERIFY(!SameBits(dlg->View().eye, FreshFrameView(kTorus).eye));
        QCOMPARE(CountDifferences(ShownFrame(*dlg), ShownFrame(*mouse)), 0);
    }

    void ctrlArrowsOrbitWhereverTheFocusIsAndPlainArrowsStillWalkTheButtons()
    {
        ClickSurface(*dlg, kTorus);
        ClickSurface(*mouse, kTorus);
        QCOMPARE(QApplication::focusWidget(), Button(*dlg, "IDC_SURFACE_TORUS"));
        Key(Qt::Key_Right, Qt::ControlModifier);
        Drag(*mouse, {10, 0});
        QVERIFY(SameBits(dlg->View().eye, mouse->View().eye));
        QCOMPARE(QApplication::focusWidget(), Button(*dlg, "IDC_SURFACE_TORUS"));
        Key(Qt::Key_Down);   // the radio group's own: the next surface is chosen and drawn afresh
        QCOMPARE(dlg->View().surface, kPseudosphere);
        QVERIFY(Button(*dlg, "IDC_SURFACE_PSEUDOSPHERE")->isChecked());
        QCOMPARE(CountDifferences(ShownFrame(*dlg), FrameOf(FreshFrameView(kPseudosphere))), 0);
    }

    void aKeyStepLeavesAMouseDragInProgressAsItWas()
    {
        ClickSurface(*dlg, kSaddle);
        ClickSurface(*mouse, kSaddle);
        const QPoint start(420, 260);
        QTest::mousePress(dlg, Qt::LeftButton, {}, start);
        const IntPoint anchor = dlg->Drag().anchor;
        Key(Qt::Key_Up, Qt::ControlModifier);
        QVERIFY(dlg->Drag().dragging == 1 && dlg->Drag().anchor.x == anchor.x && dlg->Drag().anchor.y == anchor.y);
        QTest::mouseMove(dlg, start + QPoint(20, 7));
        QTest::mouseRelease(dlg, Qt::LeftButton, {}, start + QPoint(20, 7));
        Drag(*mouse, {0, -10});
        Drag(*mouse, {20, 7});
        QVERIFY(SameBits(dlg->View().eye, mouse->View().eye));
    }

    void plusMinusAndPagesStepTheBarsAsTheirArrows()
    {
        ClickSurface(*dlg, kMoebius);
        ClickSurface(*mouse, kMoebius);
        square->setFocus();
        Key(Qt::Key_Plus);
        Key(Qt::Key_Plus, Qt::KeypadModifier);
        Key(Qt::Key_Minus);
        Key(Qt::Key_PageUp);
        Key(Qt::Key_PageUp);
        Key(Qt::Key_PageDown);
        QScrollBar* zoomBar = Bar(*mouse, "IDC_SCROLL_ZOOM");
        QScrollBar* distanceBar = Bar(*mouse, "IDC_SCROLL_DISTANCE");
        for (QStyle::SubControl arrow :
             {QStyle::SC_ScrollBarSubLine, QStyle::SC_ScrollBarSubLine, QStyle::SC_ScrollBarAddLine})
            ClickArrow(*zoomBar, arrow);
        for (QStyle::SubControl arrow :
             {QStyle::SC_ScrollBarSubLine, QStyle::SC_ScrollBarSubLine, QStyle::SC_ScrollBarAddLine})
            ClickArrow(*distanceBar, arrow);
        QVERIFY(dlg->View().zoom == 51.0 && dlg->View().zoom == mouse->View().zoom);
        QVERIFY(SameBits(dlg->View().eye, mouse->View().eye));
        QCOMPARE(EyeDistance(dlg->View()), 298.0);   // Page Up brings the eye nearer
        QCOMPARE(Bar(*dlg, "IDC_SCROLL_ZOOM")->value(), zoomBar->value());
        QCOMPARE(Bar(*dlg, "IDC_SCROLL_DISTANCE")->value(), distanceBar->value());
        QCOMPARE(Bar(*dlg, "IDC_SCROLL_DISTANCE")->sliderPosition(), distanceBar->sliderPosition());
        QCOMPARE(dlg->FramesRendered(), mouse->FramesRendered());
    }

    void homeResetsTheViewAsPressingTheButtonAgain()
    {
        ClickSurface(*dlg, kSpiralStair);
        Key(Qt::Key_Right, Qt::ControlModifier);
        Key(Qt::Key_Plus);
        Key(Qt::Key_PageUp);
        const int frames = dlg->FramesRendered();
        Key(Qt::Key_Home);
        QCOMPARE(dlg->FramesRendered(), frames + 1);
        QCOMPARE(CountDifferences(ShownFrame(*dlg), FrameOf(FreshFrameView(kSpiralStair))), 0);
        QVERIFY(Bar(*dlg, "IDC_SCROLL_ZOOM")->value() == 50 && Bar(*dlg, "IDC_SCROLL_DISTANCE")->value() == 300);
        QCOMPARE(dlg->View().surface, kSpiralStair);
    }

    void f1OpensTheHelp()
    {
        int opened = 0;
        ModalCloser closer([&](QWidget& modal) {
            opened += qobject_cast<CHelpDlg*>(&modal) != nullptr;
            QTest::mouseClick(modal.findChild<QPushButton*>("IDOK"), Qt::LeftButton);
        });
        Key(Qt::Key_F1);
        dlg->activateWindow();   // offscreen gives the activation back to no one by itself
        QVERIFY(QTest::qWaitForWindowActive(dlg));
        square->setFocus();
        Key(Qt::Key_F1);
        QCOMPARE(opened, 2);
    }

    void tabWalksTheButtonsAndTheSquareAndEscapeStillCloses()
    {
        Button(*dlg, "IDCANCEL")->setFocus();
        const char* const order[] = {"IDC_VIEW_HIDDEN",     "IDC_VIEW_DEPTH_CUE", "IDC_VIEW_ANAGLYPH",
                                     "IDC_VIEW_PARALLEL",   "IDC_VIEW_AXES",      "IDC_VIEW_TICKS",
                                     "IDC_VIEW_LINE_WIDTH", "IDC_VIEW_THEME",     "IDC_VIEW_FRAME",     "IDC_ABOUT_BUTTON",   "IDC_INSTRUCTIONS_BUTTON",
                                     "IDC_FRAME_SQUARE",    "IDCANCEL"};
        for (const char* name : order) {
            Key(Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(name));
        }
        Key(Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), square);
        Key(Qt::Key_Escape);
        QVERIFY(!dlg->isVisible() && dlg->result() == QDialog::Rejected);
    }
};

QTEST_MAIN(ViewerKeysTest)
#include "viewer_keys_test.moc"
