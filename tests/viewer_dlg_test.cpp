// The main window offscreen: surface buttons draw their frames, the mouse orbits, the bars follow
// their table, an expose shows the kept frame, and the About box opens from button and menu.
#include <cmath>

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include "geometry/view_changes.h"
#include "modal_closer.h"
#include "render/frame.h"
#include "render/raster_canvas.h"
#include "ui/about_dlg.h"
#include "ui/resource.h"
#include "ui/viewer_dlg.h"

namespace {

const char* const kSurfaceButtons[] = {
    "IDC_SURFACE_MOEBIUS", "IDC_SURFACE_SADDLE",       "IDC_SURFACE_SPHERE", "IDC_SURFACE_SINE",
    "IDC_SURFACE_TORUS",   "IDC_SURFACE_PSEUDOSPHERE", "IDC_SURFACE_SPIRAL", "IDC_SURFACE_LEONARDO",
};

// The frame that a fresh view of the surface gives, through the generic canvas path.
QImage ExpectedFrame(SurfaceKind kind, void (*change)(ViewState&) = nullptr)
{
    ViewState view;
    ResetViewState(view);
    view.surface = kind;
    if (change != nullptr)
        change(view);
    RasterCanvas canvas;
    DrawFrame(view, static_cast<Canvas&>(canvas));
    QImage image(kCanvasSide, kCanvasSide, QImage::Format_RGB32);
    for (int row = 0; row < kCanvasSide; ++row)
        for (int col = 0; col < kCanvasSide; ++col)
            image.setPixel(col, row, canvas.PixelAt(col, row));
    return image;
}

QImage ShownFrame(CViewerDlg& dlg)
{
    return dlg.grab(kFrameRect).toImage().convertToFormat(QImage::Format_RGB32);
}

int CountPixels(const QImage& image, QRgb colour)
{
    int count = 0;
    for (int row = 0; row < image.height(); ++row)
        for (int col = 0; col < image.width(); ++col)
            count += image.pixel(col, row) == colour;
    return count;
}

int CountDifferences(const QImage& a, const QImage& b)
{
    int count = 0;
    for (int row = 0; row < a.height(); ++row)
        for (int col = 0; col < a.width(); ++col)
            count += a.pixel(col, row) != b.pixel(col, row);
    return count;
}

QRect ScrollBarPart(QScrollBar& bar, QStyle::SubControl part)
{
    QStyleOptionSlider option;
    option.initFrom(&bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar.orientation();
    option.minimum = bar.minimum();
    option.maximum = bar.maximum();
    option.sliderPosition = bar.sliderPosition();
    option.sliderValue = bar.value();
    option.singleStep = bar.singleStep();
    option.pageStep = bar.pageStep();
    return bar.style()->subControlRect(QStyle::CC_ScrollBar, &option, part, &bar);
}

void ClickPart(QScrollBar& bar, QStyle::SubControl part)
{
    QTest::mouseClick(&bar, Qt::LeftButton, {}, ScrollBarPart(bar, part).center());
}

double Distance(const ViewState& view)
{
    return EyeDistance(view);
}

}   // namespace

class ViewerDlgTest : public QObject {
    Q_OBJECT

private:
    CViewerDlg* dlg = nullptr;
    QScrollBar* zoomBar = nullptr;
    QScrollBar* distanceBar = nullptr;

    QAbstractButton* Button(const char* name) { return dlg->findChild<QAbstractButton*>(name); }
    void Choose(const char* name) { QTest::mouseClick(Button(name), Qt::LeftButton); }

private slots:
    void init()
    {
        dlg = new CViewerDlg;
        dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg));
        zoomBar = dlg->findChild<QScrollBar*>("IDC_SCROLL_ZOOM");
        distanceBar = dlg->findChild<QScrollBar*>("IDC_SCROLL_DISTANCE");
        QVERIFY(zoomBar && distanceBar);
    }
    void cleanup()
    {
        delete dlg;
        dlg = nullptr;
    }

    void startsWithEmptyBarsNoCheckedButtonAndNoSquare()
    {
        QCOMPARE(zoomBar->minimum(), 0);
        QCOMPARE(zoomBar->maximum(), 0);
        QCOMPARE(distanceBar->maximum(), 0);
        for (const char* name : kSurfaceButtons)
            QVERIFY(!Button(name)->isChecked());
        QCOMPARE(dlg->View().surface, 0);
        const QImage shown = ShownFrame(*dlg);
        QCOMPARE(CountPixels(shown, qRgb(0, 0, 0)), 0);
        QCOMPARE(dlg->FramesRendered(), 0);
        ClickPart(*zoomBar, QStyle::SC_ScrollBarSubLine);   // an empty bar takes no click
        QCOMPARE(dlg->FramesRendered(), 0);
    }

    void layoutFollowsTheTemplate()
    {
        QCOMPARE(dlg->size(), QSize(764, 522));
        QCOMPARE(dlg->windowTitle(), QString::fromUtf8("Vexilon: superficies en tres dimensiones"));
        QCOMPARE(zoomBar->geometry(), QRect(698, 10, 23, 265));
        QCOMPARE(distanceBar->geometry(), QRect(731, 10, 23, 265));
        QCOMPARE(Button("IDCANCEL")->text(), QString::fromUtf8("Cerrar"));
        QCOMPARE(Button("IDC_SURFACE_LEONARDO")->geometry(), QRect(21, 197, 126, 26));
        QCOMPARE(dlg->findChild<QLabel*>("IDC_STATIC_BARS")->text(), QString::fromUtf8("Z         P"));
        for (const SurfaceInfo& info : kSurfaces)
            QCOMPARE(Button(kSurfaceButtons[info.kind - 1])->text(),
                     QString::fromUtf8(info.caption.data(), qsizetype(info.caption.size())));
        // The square lies clear of every control.
        for (QWidget* child : dlg->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            QVERIFY2(!child->geometry().intersects(kFrameRect), qPrintable(child->objectName()));
    }

    void everyCaptionFitsItsControl()
    {
        for (QAbstractButton* button : dlg->findChildren<QAbstractButton*>()) {
            const int need = qobject_cast<QRadioButton*>(button)
                                 ? button->sizeHint().width()
                                 : button->fontMetrics().horizontalAdvance(button->text()) + 8;
            QVERIFY2(need <= button->width(), qPrintable(button->objectName()));
        }
        for (QLabel* label : dlg->findChildren<QLabel*>()) {
            QVERIFY2(label->sizeHint().width() <= label->width(), qPrintable(label->objectName()));
            QVERIFY2(label->sizeHint().height() <= label->height(), qPrintable(label->objectName()));
        }
        auto* group = dlg->findChild<QGroupBox*>("IDC_GROUP_SURFACE");
        QVERIFY(group->fontMetrics().horizontalAdvance(group->title()) + 10 <= group->width());
    }

    void eachSurfaceButtonDrawsItsSurface_data()
    {
        QTest::addColumn<int>("kind");
        for (const SurfaceInfo& info : kSurfaces)
            QTest::newRow(kSurfaceButtons[info.kind - 1]) << info.kind;
    }
    void eachSurfaceButtonDrawsItsSurface()
    {
        QFETCH(int, kind);
        Choose(kSurfaceButtons[kind - 1]);
        QCOMPARE(dlg->View().surface, kind);
        QCOMPARE(dlg->FramesRendered(), 1);
        QVERIFY(Button(kSurfaceButtons[kind - 1])->isChecked());
        const QImage shown = ShownFrame(*dlg);
        QVERIFY(CountPixels(shown, qRgb(0, 0, 255)) > 500);
        QCOMPARE(shown.pixel(0, 0), qRgb(255, 255, 255));
        QCOMPARE(shown.pixel(499, 499), qRgb(255, 255, 255));
        QCOMPARE(CountDifferences(shown, ExpectedFrame(kind)), 0);
        QCOMPARE(zoomBar->value(), 50);
        QCOMPARE(distanceBar->value(), 300);
        QCOMPARE(distanceBar->minimum(), 20);
        QCOMPARE(distanceBar->maximum(), 300);
        QCOMPARE(zoomBar->maximum(), 100);
    }

    void surfacesDifferFromEachOther()
    {
        Choose("IDC_SURFACE_SPHERE");
        const QImage sphere = ShownFrame(*dlg);
        Choose("IDC_SURFACE_TORUS");
        QVERIFY(CountDifferences(sphere, ShownFrame(*dlg)) > 1000);
    }

    void pressingAgainResetsTheView()
    {
        Choose("IDC_SURFACE_TORUS");
        const QImage first = ShownFrame(*dlg);
        const QPoint inside = kFrameRect.center();
        QTest::mousePress(dlg, Qt::LeftButton, {}, inside);
        QTest::mouseMove(dlg, inside + QPoint(60, 25));
        QTest::mouseRelease(dlg, Qt::LeftButton, {}, inside + QPoint(60, 25));
        ClickPart(*zoomBar, QStyle::SC_ScrollBarSubLine);
        ClickPart(*distanceBar, QStyle::SC_ScrollBarSubLine);
        QVERIFY(CountDifferences(first, ShownFrame(*dlg)) > 0);
        Choose("IDC_SURFACE_TORUS");
        QCOMPARE(CountDifferences(first, ShownFrame(*dlg)), 0);
        QCOMPARE(dlg->View().zoom, 50.0);
        QCOMPARE(zoomBar->value(), 50);
        QCOMPARE(distanceBar->value(), 300);
    }

    void aDragStepTurnsTheView()
    {
        Choose("IDC_SURFACE_TORUS");
        const Vec3 before = dlg->View().eye;
        const QPoint start(300, 400);   // on the square: the dialog's own surface
        QTest::mousePress(dlg, Qt::LeftButton, {}, start);
        QCOMPARE(dlg->View().dragging, 1);
        QCOMPARE(dlg->View().anchor.x, dlg->mapToGlobal(start).x());
        QTest::mouseMove(dlg, start + QPoint(100, 0));
        QCOMPARE(dlg->FramesRendered(), 2);
        const double cosine = VecDot(before, dlg->View().eye) / (300.0 * 300.0);
        QVERIFY(std::abs(std::acos(cosine) - 0.2 * PiValue()) < 1e-9);
        QVERIFY(std::abs(Distance(dlg->View()) - 300.0) < 1e-9);
        QCOMPARE(dlg->View().anchor.x, dlg->mapToGlobal(start).x() + 100);
        const QImage turned = ShownFrame(*dlg);
        QCOMPARE(CountDifferences(turned, ExpectedFrame(kTorus, [](ViewState& v) {
                     UpdateCameraBasis(v);
                     OrbitEye(v, {0, 0}, {100, 0});
                 })),
                 0);
        QTest::mouseRelease(dlg, Qt::LeftButton, {}, start + QPoint(100, 0));
        QCOMPARE(dlg->View().dragging, 0);
        QTest::mouseMove(dlg, start + QPoint(200, 50));
        QCOMPARE(dlg->FramesRendered(), 2);
    }

    void aDragMayStartOnTheGroupBoxButNotOnAButton()
    {
        Choose("IDC_SURFACE_SINE");
        QTest::mousePress(dlg, Qt::LeftButton, {}, QPoint(140, 220));   // inside the frame of "Superficie"
        QCOMPARE(dlg->View().dragging, 1);
        QTest::mouseRelease(dlg, Qt::LeftButton, {}, QPoint(140, 220));
        QTest::mousePress(Button("IDCANCEL"), Qt::LeftButton);
        QCOMPARE(dlg->View().dragging, 0);
        QTest::mouseRelease(Button("IDC_ABOUT_BUTTON"), Qt::LeftButton);
    }

    void dragsFarOutsideTheWindowStillTurn()
    {
        Choose("IDC_SURFACE_SADDLE");
        const QPoint start(400, 300);
        QTest::mousePress(dlg, Qt::LeftButton, {}, start);
        QTest::mouseMove(dlg, start + QPoint(-900, 700));
        QTest::mouseMove(dlg, start + QPoint(600, -650));
        QTest::mouseRelease(dlg, Qt::LeftButton, {}, start + QPoint(600, -650));
        QCOMPARE(dlg->FramesRendered(), 3);
        QVERIFY(std::abs(Distance(dlg->View()) - 300.0) < 1e-9);
    }

    void zoomArrowsStepByOneAndHoldAtTheEnds()
    {
        Choose("IDC_SURFACE_SPHERE");
        ClickPart(*zoomBar, QStyle::SC_ScrollBarSubLine);
        QCOMPARE(dlg->View().zoom, 51.0);
        QCOMPARE(zoomBar->value(), 49);
        QCOMPARE(zoomBar->sliderPosition(), 49);
        QCOMPARE(dlg->FramesRendered(), 2);
        QCOMPARE(CountDifferences(ShownFrame(*dlg), ExpectedFrame(kSphere, [](ViewState& v) { v.zoom = 51.0; })), 0);
        ClickPart(*zoomBar, QStyle::SC_ScrollBarAddLine);
        ClickPart(*zoomBar, QStyle::SC_ScrollBarAddLine);
        QCOMPARE(dlg->View().zoom, 49.0);
        QCOMPARE(zoomBar->value(), 51);
        for (int i = 0; i < 55; ++i)
            ClickPart(*zoomBar, QStyle::SC_ScrollBarSubLine);
        QCOMPARE(dlg->View().zoom, 100.0);
        QCOMPARE(zoomBar->value(), 0);
        ClickPart(*zoomBar, QStyle::SC_ScrollBarSubLine);   // at the top the bar itself does not move
        QCOMPARE(dlg->View().zoom, 100.0);
        for (int i = 0; i < 105; ++i)
            ClickPart(*zoomBar, QStyle::SC_ScrollBarAddLine);
        QCOMPARE(dlg->View().zoom, 0.0);
        QCOMPARE(zoomBar->value(), 100);
    }

    void distanceArrowsStepByTwoAndHoldAtTheEnds()
    {
        Choose("IDC_SURFACE_MOEBIUS");
        ClickPart(*distanceBar, QStyle::SC_ScrollBarSubLine);
        QVERIFY(std::abs(Distance(dlg->View()) - 298.0) < 1e-9);
        QCOMPARE(distanceBar->value(), BarPosition(Distance(dlg->View())));
        QCOMPARE(distanceBar->sliderPosition(), distanceBar->value());
        ClickPart(*distanceBar, QStyle::SC_ScrollBarAddLine);
        ClickPart(*distanceBar, QStyle::SC_ScrollBarAddLine);
        QVERIFY(std::abs(Distance(dlg->View()) - 300.0) < 1e-9);
        QCOMPARE(distanceBar->value(), 300);
        for (int i = 0; i < 150; ++i)
            ClickPart(*distanceBar, QStyle::SC_ScrollBarSubLine);
        QVERIFY(std::abs(Distance(dlg->View()) - 20.0) < 1e-9);
        QCOMPARE(distanceBar->value(), 20);
        QCOMPARE(zoomBar->value(), 50);
    }

    void pageClicksLeaveViewAndThumbsWhereTheyWereButRedraw()
    {
        Choose("IDC_SURFACE_PSEUDOSPHERE");
        ClickPart(*distanceBar, QStyle::SC_ScrollBarSubLine);   // the thumb off the end: room on both sides
        const ViewState before = dlg->View();
        const int frames = dlg->FramesRendered();
        ClickPart(*zoomBar, QStyle::SC_ScrollBarSubPage);
        ClickPart(*zoomBar, QStyle::SC_ScrollBarAddPage);
        ClickPart(*distanceBar, QStyle::SC_ScrollBarSubPage);
        ClickPart(*distanceBar, QStyle::SC_ScrollBarAddPage);
        QCOMPARE(dlg->FramesRendered(), frames + 4);
        QCOMPARE(dlg->View().zoom, before.zoom);
        QCOMPARE(dlg->View().eye.x, before.eye.x);
        QCOMPARE(zoomBar->value(), 50);
        QCOMPARE(zoomBar->sliderPosition(), 50);
        QCOMPARE(distanceBar->value(), 298);
        QCOMPARE(distanceBar->sliderPosition(), 298);
    }

    void thumbDragsSetZoomAndDistanceFromThePosition()
    {
        Choose("IDC_SURFACE_SPIRAL");
        const QPoint grip = ScrollBarPart(*zoomBar, QStyle::SC_ScrollBarSlider).center();
        QTest::mousePress(zoomBar, Qt::LeftButton, {}, grip);
        QTest::mouseMove(zoomBar, grip + QPoint(0, -60));
        const int tracked = zoomBar->sliderPosition();
        QVERIFY(tracked < 50);
        QCOMPARE(dlg->View().zoom, 100.0 - tracked);   // SB_THUMBTRACK while the thumb moves
        const int frames = dlg->FramesRendered();
        QTest::mouseRelease(zoomBar, Qt::LeftButton, {}, grip + QPoint(0, -60));
        QCOMPARE(dlg->FramesRendered(), frames + 1);   // SB_THUMBPOSITION at the release
        QCOMPARE(zoomBar->value(), tracked);
        QCOMPARE(dlg->View().zoom, 100.0 - tracked);

        const QPoint knob = ScrollBarPart(*distanceBar, QStyle::SC_ScrollBarSlider).center();
        QTest::mousePress(distanceBar, Qt::LeftButton, {}, knob);
        QTest::mouseMove(distanceBar, knob + QPoint(0, -120));
        QTest::mouseRelease(distanceBar, Qt::LeftButton, {}, knob + QPoint(0, -120));
        const int position = distanceBar->value();
        QVERIFY(position >= 20 && position < 300);
        QVERIFY(std::abs(Distance(dlg->View()) - position) < 1e-9);
        QCOMPARE(distanceBar->sliderPosition(), position);
    }

    void theWheelDoesNotMoveABar()
    {
        Choose("IDC_SURFACE_TORUS");
        QWheelEvent wheel(QPointF(10, 100), zoomBar->mapToGlobal(QPointF(10, 100)), {}, QPoint(0, 120),
                          Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(zoomBar, &wheel);
        QCOMPARE(zoomBar->value(), 50);
        QCOMPARE(dlg->View().zoom, 50.0);
    }

    void anExposeShowsTheKeptFrameWithoutTracingAgain()
    {
        Choose("IDC_SURFACE_LEONARDO");
        const QImage expected = ExpectedFrame(kLeonardoStair);
        const int frames = dlg->FramesRendered();
        QWidget cover;   // another window over the dialog, then gone
        cover.setGeometry(dlg->frameGeometry());
        cover.show();
        QVERIFY(QTest::qWaitForWindowExposed(&cover));
        dlg->hide();
        cover.hide();
        dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg));
        dlg->repaint();   // the whole window, as an expose paints it
        const QImage shown =
            dlg->screen()->grabWindow(dlg->winId()).toImage().copy(kFrameRect).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), QSize(kCanvasSide, kCanvasSide));
        QCOMPARE(CountDifferences(shown, expected), 0);
        QCOMPARE(dlg->FramesRendered(), frames);
    }

    void theAboutButtonOpensTheAboutBox()
    {
        QString title;
        ModalCloser closer([&](QWidget& modal) {
            title = modal.windowTitle();
            QVERIFY(qobject_cast<CAboutDlg*>(&modal));
            QTest::mouseClick(modal.findChild<QPushButton*>("IDOK"), Qt::LeftButton);
        });
        QTest::mouseClick(Button("IDC_ABOUT_BUTTON"), Qt::LeftButton);
        QCOMPARE(closer.Seen(), 1);
        QCOMPARE(title, QString::fromUtf8("Sobre Vexilon"));
    }

    void theWindowMenuItemOpensTheAboutBox()
    {
        int abouts = 0;
        QString item;
        ModalCloser closer([&](QWidget& modal) {
            abouts += qobject_cast<CAboutDlg*>(&modal) != nullptr;
            QTest::keyClick(&modal, Qt::Key_Escape);
        });
        // The right button opens the window menu; its only item is chosen with the keyboard.
        QTimer poll;
        poll.setInterval(0);
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr || !menu->isVisible())
                return;
            poll.stop();
            item = menu->actions().size() == 1 ? menu->actions().first()->text() : QString();
            menu->setActiveAction(menu->actions().first());
            QTest::keyClick(menu, Qt::Key_Return);
        });
        poll.start();
        // What the window system sends for the right button (offscreen sends only the clicks).
        QContextMenuEvent rightButton(QContextMenuEvent::Mouse, QPoint(400, 200), dlg->mapToGlobal(QPoint(400, 200)));
        QApplication::sendEvent(dlg, &rightButton);
        QCOMPARE(abouts, 1);
        QCOMPARE(item, QString::fromUtf8("&Acerca de vexilon..."));
    }

    void everyCommandOfTheAboutFamilyOpensTheAboutBox()
    {
        ModalCloser closer([](QWidget& modal) { modal.close(); });
        QVERIFY(dlg->OnSysCommand(IDM_ABOUTBOX));
        QVERIFY(dlg->OnSysCommand(0x001F));
        QVERIFY(!dlg->OnSysCommand(0x0020));
        QVERIFY(!dlg->OnSysCommand(0xF060));   // closing the window is the window system's
        QCOMPARE(closer.Seen(), 2);
    }

    void cerrarEndsTheDialog()
    {
        QTest::mouseClick(Button("IDCANCEL"), Qt::LeftButton);
        QVERIFY(!dlg->isVisible());
        QCOMPARE(dlg->result(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(ViewerDlgTest)
#include "viewer_dlg_test.moc"
