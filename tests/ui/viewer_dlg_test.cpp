// The main window offscreen: surface buttons draw their frames, the mouse orbits, the bars follow
// their table, an expose shows the kept frame, and the About box opens from button and menu.
#include <cmath>

#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include "geometry/view_changes.h"
#include "ui/about_dlg.h"
#include "ui/resource.h"
#include "window_test_support.h"

namespace {

QImage FreshFrame(SurfaceKind kind, std::function<void(ViewState&)> change = {})
{
    ViewState view;
    ResetViewState(view);
    view.surface = kind;
    if (change)
        change(view);
    return FrameOf(view);
}

void Click(QScrollBar& bar, QStyle::SubControl part, int times = 1)
{
    while (times-- > 0)
        QTest::mouseClick(&bar, Qt::LeftButton, {}, PartOf(bar, part));
}

}   // namespace

class ViewerDlgTest : public QObject {
    Q_OBJECT

    CViewerDlg* dlg = nullptr;
    QScrollBar* zoomBar = nullptr;
    QScrollBar* distanceBar = nullptr;

    QAbstractButton* Button(const char* name) { return dlg->findChild<QAbstractButton*>(name); }
    double EyeAt() { return EyeDistance(dlg->View()); }

private slots:
    void init()
    {
        dlg = new CViewerDlg;
        dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg));
        zoomBar = dlg->findChild<QScrollBar*>("IDC_SCROLL_ZOOM");
        distanceBar = dlg->findChild<QScrollBar*>("IDC_SCROLL_DISTANCE");
    }
    void cleanup() { delete dlg; }

    void startsWithEmptyBarsNoCheckedButtonAndNoSquare()
    {
        QVERIFY(zoomBar->maximum() == 0 && distanceBar->maximum() == 0);
        for (const char* name : kSurfaceButtons)
            QVERIFY(!Button(name)->isChecked());
        QCOMPARE(CountPixels(ShownFrame(*dlg), [](QRgb c) { return c == qRgb(0, 0, 0); }), 0);
        Click(*zoomBar, QStyle::SC_ScrollBarSubLine);   // an empty bar takes no click
        QCOMPARE(dlg->FramesRendered(), 0);
    }

    void layoutFollowsTheTemplateAndEveryCaptionFits()
    {
        QCOMPARE(dlg->size(), QSize(764, 522));
        QCOMPARE(dlg->windowTitle(), QString::fromUtf8("Vexilon: superficies en tres dimensiones"));
        // The bars stand right of the square, side by side, inside the window.
        QVERIFY(zoomBar->geometry().left() > kFrameRect.right() && distanceBar->geometry().left() > zoomBar->geometry().right());
        QVERIFY(dlg->rect().contains(distanceBar->geometry()));
        QCOMPARE(dlg->findChild<QLabel*>("IDC_STATIC_BARS")->text(), QString::fromUtf8("Z         P"));
        const SurfaceRegistry registry;
        for (SurfaceKind kind = 1; kind <= kBuiltinSurfaceCount; ++kind)
            QCOMPARE(Button(kSurfaceButtons[kind - 1])->text().toStdString(), registry.Find(kind)->caption);
        for (QWidget* child : dlg->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (child->objectName() != QLatin1String("IDC_FRAME_SQUARE"))
                QVERIFY2(!child->geometry().intersects(kFrameRect), qPrintable(child->objectName()));
        for (QAbstractButton* button : dlg->findChildren<QAbstractButton*>()) {
            const int need = qobject_cast<QRadioButton*>(button) ? button->sizeHint().width()
                                                                  : button->fontMetrics().horizontalAdvance(button->text()) + 8;
            QVERIFY2(need <= button->width(), qPrintable(button->objectName()));
        }
        for (QLabel* label : dlg->findChildren<QLabel*>())
            QVERIFY(label->sizeHint().width() <= label->width() && label->sizeHint().height() <= label->height());
        auto* group = dlg->findChild<QGroupBox*>("IDC_GROUP_SURFACE");
        QVERIFY(group->fontMetrics().horizontalAdvance(group->title()) + 10 <= group->width());
    }

    void eachSurfaceButtonDrawsItsSurface_data()
    {
        QTest::addColumn<int>("kind");
        for (SurfaceKind kind = 1; kind <= kBuiltinSurfaceCount; ++kind)
            QTest::newRow(kSurfaceButtons[kind - 1]) << kind;
    }
    void eachSurfaceButtonDrawsItsSurface()
    {
        QFETCH(int, kind);
        ClickSurface(*dlg, kind);
        QVERIFY(dlg->View().surface == kind && Button(kSurfaceButtons[kind - 1])->isChecked());
        QCOMPARE(dlg->FramesRendered(), 1);
        const QImage shown = ShownFrame(*dlg);
        QVERIFY(CountPixels(shown, [](QRgb c) { return c == qRgb(0, 0, 255); }) > 500);
        QCOMPARE(CountDifferences(shown, FreshFrame(kind)), 0);
        QVERIFY(zoomBar->value() == 50 && zoomBar->maximum() == 100);
        QVERIFY(distanceBar->value() == 300 && distanceBar->minimum() == 20 && distanceBar->maximum() == 300);
    }

    void pressingAgainResetsTheView()
    {
        ClickSurface(*dlg, kTorus);
        const QImage first = ShownFrame(*dlg);
        QTest::mousePress(dlg, Qt::LeftButton, {}, QPoint(300, 300));
        QTest::mouseMove(dlg, QPoint(360, 325));
        QTest::mouseRelease(dlg, Qt::LeftButton, {}, QPoint(360, 325));
        Click(*zoomBar, QStyle::SC_ScrollBarSubLine);
        Click(*distanceBar, QStyle::SC_ScrollBarSubLine);
        QVERIFY(CountDifferences(first, ShownFrame(*dlg)) > 0);
        ClickSurface(*dlg, kTorus);
        QCOMPARE(CountDifferences(first, ShownFrame(*dlg)), 0);
        QVERIFY(zoomBar->value() == 50 && distanceBar->value() == 300);
    }

    void aDragStepTurnsTheView()
    {
        ClickSurface(*dlg, kTorus);
        const Vec3 before = dlg->View().eye;
        const QPoint start(300, 400);   // on the square: the dialog's own surface
        QTest::mousePress(dlg, Qt::LeftButton, {}, start);
        QCOMPARE(dlg->Drag().anchor.x, dlg->mapToGlobal(start).x());
        QTest::mouseMove(dlg, start + QPoint(100, 0));
        QCOMPARE(dlg->FramesRendered(), 2);
        QVERIFY(std::abs(std::acos(VecDot(before, dlg->View().eye) / 90000.0) - 0.2 * PiValue()) < 1e-9);
        QVERIFY(std::abs(EyeAt() - 300.0) < 1e-9);
        QCOMPARE(CountDifferences(ShownFrame(*dlg), FreshFrame(kTorus, [](ViewState& v) {
                                      UpdateCameraBasis(v);
                                      OrbitEye(v, {0, 0}, {100, 0});
                                  })),
                 0);
        QTest::mouseRelease(dlg, Qt::LeftButton, {}, start + QPoint(100, 0));
        QTest::mouseMove(dlg, start + QPoint(200, 50));
        QCOMPARE(dlg->FramesRendered(), 2);
    }

    void aBurstOfDragStepsDrawsOnlyTheLastViewYetMakesEveryCameraStep()
    {
        ClickSurface(*dlg, kSine);
        ShownFrame(*dlg);
        const int drawn = dlg->PicturesDrawn();
        const QPoint start(300, 400);
        QTest::mousePress(dlg, Qt::LeftButton, {}, start);
        for (int step = 1; step <= 5; ++step) {   // sent straight in: no paint between them
            QMouseEvent move(QEvent::MouseMove, QPointF(start + QPoint(7 * step, 3 * step)),
                             QPointF(dlg->mapToGlobal(start + QPoint(7 * step, 3 * step))), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(dlg, &move);
        }
        QCOMPARE(dlg->FramesRendered(), 6);
        QCOMPARE(dlg->PicturesDrawn(), drawn);
        QCOMPARE(CountDifferences(ShownFrame(*dlg), FreshFrame(kSine, [](ViewState& v) {
                                      for (int step = 0; step < 5; ++step) {
                                          UpdateCameraBasis(v);
                                          OrbitEye(v, {0, 0}, {7, 3});
                                      }
                                  })),
                 0);
        QCOMPARE(dlg->PicturesDrawn(), drawn + 1);
        QTest::mouseRelease(dlg, Qt::LeftButton, {}, start);
    }

    void aDragMayStartOnTheGroupBoxButNotOnAButton()
    {
        ClickSurface(*dlg, kSine);
        QTest::mousePress(dlg, Qt::LeftButton, {}, QPoint(140, 220));   // inside the frame of "Superficie"
        QCOMPARE(dlg->Drag().dragging, 1);
        QTest::mouseRelease(dlg, Qt::LeftButton, {}, QPoint(140, 220));
        QTest::mousePress(Button("IDC_ABOUT_BUTTON"), Qt::LeftButton);
        QCOMPARE(dlg->Drag().dragging, 0);
        QTest::mouseMove(Button("IDC_ABOUT_BUTTON"), QPoint(-50, 0));
        QTest::mouseRelease(Button("IDC_ABOUT_BUTTON"), Qt::LeftButton, {}, QPoint(-50, 0));
    }

    void zoomArrowsStepByOneAndHoldAtTheTop()
    {
        ClickSurface(*dlg, kSphere);
        Click(*zoomBar, QStyle::SC_ScrollBarSubLine);
        QVERIFY(dlg->View().zoom == 51.0 && zoomBar->value() == 49 && zoomBar->sliderPosition() == 49);
        QCOMPARE(CountDifferences(ShownFrame(*dlg), FreshFrame(kSphere, [](ViewState& v) { v.zoom = 51.0; })), 0);
        Click(*zoomBar, QStyle::SC_ScrollBarAddLine, 2);
        QVERIFY(dlg->View().zoom == 49.0 && zoomBar->value() == 51);
        Click(*zoomBar, QStyle::SC_ScrollBarSubLine, 52);   // the last click finds the bar at its top
        QVERIFY(dlg->View().zoom == 100.0 && zoomBar->value() == 0);
        QCOMPARE(dlg->FramesRendered(), 56);
    }

    void distanceArrowsStepByTwoAndHoldAtTwenty()
    {
        ClickSurface(*dlg, kMoebius);
        Click(*distanceBar, QStyle::SC_ScrollBarSubLine);
        QVERIFY(std::abs(EyeAt() - 298.0) < 1e-9);
        QCOMPARE(distanceBar->value(), BarPosition(EyeAt()));
        Click(*distanceBar, QStyle::SC_ScrollBarAddLine, 2);
        QVERIFY(std::abs(EyeAt() - 300.0) < 1e-9 && distanceBar->value() == 300);
        Click(*distanceBar, QStyle::SC_ScrollBarSubLine, 141);
        QVERIFY(std::abs(EyeAt() - 20.0) < 1e-9 && distanceBar->value() == 20);
        QCOMPARE(distanceBar->sliderPosition(), 20);
    }

    void pageClicksLeaveViewAndThumbsWhereTheyWereButRedraw()
    {
        ClickSurface(*dlg, kPseudosphere);
        Click(*distanceBar, QStyle::SC_ScrollBarSubLine);   // off the end: room on both sides
        const ViewState before = dlg->View();
        for (QScrollBar* bar : {zoomBar, distanceBar})
            for (QStyle::SubControl page : {QStyle::SC_ScrollBarSubPage, QStyle::SC_ScrollBarAddPage})
                Click(*bar, page);
        QCOMPARE(dlg->FramesRendered(), 6);
        QVERIFY(dlg->View().zoom == before.zoom && dlg->View().eye.x == before.eye.x);
        QVERIFY(zoomBar->value() == 50 && zoomBar->sliderPosition() == 50);
        QVERIFY(distanceBar->value() == 298 && distanceBar->sliderPosition() == 298);
    }

    void thumbDragsTrackAndSetThePositionAtTheRelease()
    {
        ClickSurface(*dlg, kSpiralStair);
        const QPoint grip = PartOf(*zoomBar, QStyle::SC_ScrollBarSlider);
        QTest::mousePress(zoomBar, Qt::LeftButton, {}, grip);
        QTest::mouseMove(zoomBar, grip + QPoint(0, -60));
        const int tracked = zoomBar->sliderPosition();
        QVERIFY(tracked < 50 && dlg->View().zoom == 100.0 - tracked);   // SB_THUMBTRACK while moving
        const int frames = dlg->FramesRendered();
        QTest::mouseRelease(zoomBar, Qt::LeftButton, {}, grip + QPoint(0, -60));
        QCOMPARE(dlg->FramesRendered(), frames + 1);   // SB_THUMBPOSITION at the release
        QVERIFY(zoomBar->value() == tracked && dlg->View().zoom == 100.0 - tracked);
        const QPoint knob = PartOf(*distanceBar, QStyle::SC_ScrollBarSlider);
        QTest::mousePress(distanceBar, Qt::LeftButton, {}, knob);
        QTest::mouseMove(distanceBar, knob + QPoint(0, -120));
        QTest::mouseRelease(distanceBar, Qt::LeftButton, {}, knob + QPoint(0, -120));
        QVERIFY(distanceBar->value() >= 20 && distanceBar->value() < 300);
        QVERIFY(std::abs(EyeAt() - distanceBar->value()) < 1e-9);
    }

    void theWheelDoesNotMoveABar()
    {
        ClickSurface(*dlg, kTorus);
        QWheelEvent wheel({10, 100}, zoomBar->mapToGlobal(QPointF(10, 100)), {}, {0, 120}, Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(zoomBar, &wheel);
        QVERIFY(zoomBar->value() == 50 && dlg->View().zoom == 50.0);
    }

    void anExposeShowsTheKeptFrameWithoutTracingAgain()
    {
        ClickSurface(*dlg, kLeonardoStair);
        QWidget cover;   // another window over the dialog, then gone
        cover.setGeometry(dlg->frameGeometry());
        cover.show();
        QVERIFY(QTest::qWaitForWindowExposed(&cover));
        dlg->hide();
        cover.hide();
        dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg));
        dlg->repaint();   // the whole window, as an expose paints it
        const QImage shown = dlg->screen()->grabWindow(dlg->winId()).toImage().copy(kFrameRect);
        QCOMPARE(CountDifferences(shown.convertToFormat(QImage::Format_RGB32), FreshFrame(kLeonardoStair)), 0);
        QCOMPARE(dlg->FramesRendered(), 1);
    }

    void theAboutBoxOpensFromItsButtonAndFromTheWindowMenu()
    {
        int abouts = 0;
        ModalCloser closer([&](QWidget& modal) {
            abouts += qobject_cast<CAboutDlg*>(&modal) != nullptr;
            QTest::mouseClick(modal.findChild<QPushButton*>("IDOK"), Qt::LeftButton);
        });
        QTest::mouseClick(Button("IDC_ABOUT_BUTTON"), Qt::LeftButton);
        QCOMPARE(abouts, 1);
        QString item;   // the menu's last item, chosen with the keyboard once the menu is up
        WithPictureMenu(*dlg, {400, 200}, [&](QMenu& menu) {
            item = menu.actions().last()->text();
            menu.setActiveAction(menu.actions().last());
            QTest::keyClick(&menu, Qt::Key_Return);
        });
        QCOMPARE(item, QString::fromUtf8("&Acerca de vexilon..."));
        QCOMPARE(abouts, 2);
    }

    void cerrarEndsTheDialog()
    {
        QTest::mouseClick(Button("IDCANCEL"), Qt::LeftButton);
        QVERIFY(!dlg->isVisible() && dlg->result() == QDialog::Rejected);
    }
};

QTEST_MAIN(ViewerDlgTest)
#include "viewer_dlg_test.moc"
