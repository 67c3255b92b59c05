// Long random drives of the window (fixed seed): drags, some of several hundred pixels in one step,
// bar actions and surface choices. Every change draws one whole frame, and the camera stays sound.
#include <cmath>
#include <random>

#include <QAbstractButton>
#include <QImage>
#include <QScrollBar>
#include <QTest>

#include "geometry/view_changes.h"
#include "render/frame.h"
#include "render/raster_canvas.h"
#include "ui/viewer_dlg.h"

namespace {

constexpr double kTolerance = 1e-9;

const char* const kSurfaceButtons[] = {
    "IDC_SURFACE_MOEBIUS", "IDC_SURFACE_SADDLE",       "IDC_SURFACE_SPHERE", "IDC_SURFACE_SINE",
    "IDC_SURFACE_TORUS",   "IDC_SURFACE_PSEUDOSPHERE", "IDC_SURFACE_SPIRAL", "IDC_SURFACE_LEONARDO",
};

bool IsFinite(Vec3 v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Empty when the camera of the last frame is finite and orthonormal; else what is wrong.
QString BasisFault(const ViewState& view)
{
    if (!IsFinite(view.eye) || !IsFinite(view.right) || !IsFinite(view.up) || !IsFinite(view.normal))
        return QStringLiteral("not finite");
    const Vec3 n = VecNormalize(view.normal);
    if (std::abs(VecLength(view.right) - 1.0) > kTolerance || std::abs(VecLength(view.up) - 1.0) > kTolerance)
        return QStringLiteral("not unit");
    if (std::abs(VecDot(view.right, view.up)) > kTolerance || std::abs(VecDot(view.right, n)) > kTolerance ||
        std::abs(VecDot(view.up, n)) > kTolerance)
        return QStringLiteral("not orthogonal");
    const double d = EyeDistance(view);
    if (d < 20.0 - kTolerance || d > 300.0 + kTolerance)
        return QStringLiteral("eye at %1").arg(d);
    return {};
}

// The shown square against the frame drawn anew from the window's view. Drawing again re-runs the
// basis update on an up that is already perpendicular, which may move a few samples by a pixel; a
// frame left half-drawn or a stale one differs in far more.
bool FrameIsWhole(CViewerDlg& dlg)
{
    ViewState view = dlg.View();
    RasterCanvas canvas;
    DrawFrame(view, static_cast<Canvas&>(canvas));
    const QImage shown = dlg.grab(kFrameRect).toImage().convertToFormat(QImage::Format_RGB32);
    int lit = 0, differences = 0;
    for (int row = 0; row < kCanvasSide; ++row)
        for (int col = 0; col < kCanvasSide; ++col) {
            lit += canvas.PixelAt(col, row) == PackPixel(kSurfaceBlue);
            differences += shown.pixel(col, row) != canvas.PixelAt(col, row);
        }
    return differences <= 20 + lit / 100;
}

}   // namespace

class ViewerRandomTest : public QObject {
    Q_OBJECT

private slots:
    void longSequencesDrawEveryFrameAndKeepTheCameraSound()
    {
        CViewerDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QScrollBar* bars[] = {dlg.findChild<QScrollBar*>("IDC_SCROLL_ZOOM"),
                              dlg.findChild<QScrollBar*>("IDC_SCROLL_DISTANCE")};
        QScrollBar* zoomBar = bars[0];
        QScrollBar* distanceBar = bars[1];
        std::mt19937 random(20260118u);
        auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
        const QAbstractSlider::SliderAction actions[] = {
            QAbstractSlider::SliderSingleStepAdd, QAbstractSlider::SliderSingleStepSub,
            QAbstractSlider::SliderPageStepAdd,   QAbstractSlider::SliderPageStepSub,
            QAbstractSlider::SliderToMinimum,     QAbstractSlider::SliderToMaximum,
        };

        QTest::mouseClick(dlg.findChild<QAbstractButton*>(kSurfaceButtons[pick(0, 7)]), Qt::LeftButton);
        int expectedFrames = 1;
        int longSteps = 0;
        for (int step = 0; step < 2000; ++step) {
            const int choice = pick(0, 99);
            if (choice < 8) {
                QTest::mouseClick(dlg.findChild<QAbstractButton*>(kSurfaceButtons[pick(0, 7)]), Qt::LeftButton);
                ++expectedFrames;
                QCOMPARE(dlg.View().zoom, 50.0);
                QCOMPARE(distanceBar->value(), 300);
            } else if (choice < 55) {
                QPoint at(pick(kFrameRect.left(), kFrameRect.right()), pick(kFrameRect.top(), kFrameRect.bottom()));
                QTest::mousePress(&dlg, Qt::LeftButton, {}, at);
                for (int moves = pick(1, 5); moves > 0; --moves) {
                    const int reach = pick(0, 3) == 0 ? 700 : 40;   // now and then a step of hundreds
                    const QPoint travel(pick(-reach, reach), pick(-reach, reach));
                    longSteps += std::abs(travel.x()) + std::abs(travel.y()) >= 300;
                    at += travel;
                    QTest::mouseMove(&dlg, at);
                    ++expectedFrames;
                    const QString fault = BasisFault(dlg.View());
                    QVERIFY2(fault.isEmpty(), qPrintable(QStringLiteral("step %1: %2").arg(step).arg(fault)));
                }
                QTest::mouseRelease(&dlg, Qt::LeftButton, {}, at);
            } else {
                QScrollBar* bar = bars[pick(0, 1)];
                if (pick(0, 3) == 0) {   // the thumb taken, moved, let go
                    const int target = pick(bar->minimum(), bar->maximum());
                    expectedFrames += target != bar->sliderPosition() ? 2 : 1;
                    bar->setSliderDown(true);
                    bar->setSliderPosition(target);
                    bar->setSliderDown(false);
                    QCOMPARE(bar->value(), target);
                } else {
                    bar->triggerAction(actions[pick(0, 5)]);
                    ++expectedFrames;
                }
            }
            QCOMPARE(dlg.FramesRendered(), expectedFrames);
            const QString fault = BasisFault(dlg.View());
            QVERIFY2(fault.isEmpty(), qPrintable(QStringLiteral("step %1: %2").arg(step).arg(fault)));
            const double zoom = dlg.View().zoom;
            QVERIFY(zoom >= 0.0 && zoom <= 100.0 && zoom == std::trunc(zoom));
            QCOMPARE(zoomBar->value(), int(100.0 - zoom));
            QCOMPARE(zoomBar->sliderPosition(), zoomBar->value());
            QCOMPARE(distanceBar->sliderPosition(), distanceBar->value());
            const double distance = EyeDistance(dlg.View());
            QVERIFY2(distanceBar->value() <= distance + 1e-6 && distance < distanceBar->value() + 1.0 + 1e-6,
                     qPrintable(QStringLiteral("step %1: bar %2, eye at %3").arg(step).arg(distanceBar->value()).arg(distance)));
            if (step % 25 == 0)
                QVERIFY2(FrameIsWhole(dlg), qPrintable(QStringLiteral("step %1").arg(step)));
        }
        QVERIFY(longSteps > 200);
    }
};

QTEST_MAIN(ViewerRandomTest)
#include "viewer_random_test.moc"
