// Long random drives of the window (fixed seed): drags, some of several hundred pixels in one step,
// bar actions and surface choices. Every change draws one whole frame, and the camera stays sound.
#include <cmath>
#include <random>

#include <QAbstractButton>
#include <QScrollBar>
#include <QTest>

#include "geometry/view_changes.h"
#include "window_test_support.h"

namespace {

// Empty when the camera of the last frame is finite and orthonormal, the eye within 20..300.
QString CameraFault(const ViewState& view)
{
    const Vec3 n = VecNormalize(view.normal);
    const double checks[] = {VecLength(view.right) - 1.0, VecLength(view.up) - 1.0, VecDot(view.right, view.up),
                             VecDot(view.right, n), VecDot(view.up, n)};
    for (double c : checks)
        if (!(std::abs(c) <= 1e-9))   // NaN fails too
            return QStringLiteral("basis off by %1").arg(c);
    const double d = EyeDistance(view);
    return d >= 20.0 - 1e-9 && d <= 300.0 + 1e-9 ? QString() : QStringLiteral("eye at %1").arg(d);
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
        QScrollBar* zoomBar = dlg.findChild<QScrollBar*>("IDC_SCROLL_ZOOM");
        QScrollBar* distanceBar = dlg.findChild<QScrollBar*>("IDC_SCROLL_DISTANCE");
        std::mt19937 random(20260118u);
        auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
        auto chooseAny = [&] { QTest::mouseClick(dlg.findChild<QAbstractButton*>(kSurfaceButtons[pick(0, 7)]), Qt::LeftButton); };

        chooseAny();
        int frames = 1, longSteps = 0;
        for (int step = 0; step < 2000; ++step) {
            const QString where = QStringLiteral("step %1").arg(step);
            const int choice = pick(0, 99);
            if (choice < 8) {
                chooseAny();
                ++frames;
            } else if (choice < 55) {   // a drag from a point of the square
                QPoint at(pick(kFrameRect.left(), kFrameRect.right()), pick(kFrameRect.top(), kFrameRect.bottom()));
                QTest::mousePress(&dlg, Qt::LeftButton, {}, at);
                for (int moves = pick(1, 5); moves > 0; --moves) {
                    const int reach = pick(0, 3) == 0 ? 700 : 40;
                    const QPoint travel(pick(-reach, reach), pick(-reach, reach));
                    longSteps += travel.manhattanLength() >= 300;
                    QTest::mouseMove(&dlg, at += travel);
                    ++frames;
                    QVERIFY2(CameraFault(dlg.View()).isEmpty(), qPrintable(where + CameraFault(dlg.View())));
                }
                QTest::mouseRelease(&dlg, Qt::LeftButton, {}, at);
            } else if (QScrollBar* bar = pick(0, 1) ? zoomBar : distanceBar; pick(0, 3) == 0) {
                const int target = pick(bar->minimum(), bar->maximum());   // the thumb taken, moved, let go
                frames += target != bar->sliderPosition() ? 2 : 1;
                bar->setSliderDown(true);
                bar->setSliderPosition(target);
                bar->setSliderDown(false);
                QCOMPARE(bar->value(), target);
            } else {   // what clicks on the arrows and the page areas, Home and End trigger
                bar->triggerAction(QAbstractSlider::SliderAction(pick(QAbstractSlider::SliderSingleStepAdd,
                                                                      QAbstractSlider::SliderToMaximum)));
                ++frames;
            }
            QCOMPARE(dlg.FramesRendered(), frames);
            QVERIFY2(CameraFault(dlg.View()).isEmpty(), qPrintable(where + CameraFault(dlg.View())));
            const double zoom = dlg.View().zoom, distance = EyeDistance(dlg.View());
            QVERIFY(zoom >= 0.0 && zoom <= 100.0 && zoom == std::trunc(zoom));
            QCOMPARE(zoomBar->value(), int(100.0 - zoom));
            QVERIFY(zoomBar->sliderPosition() == zoomBar->value() && distanceBar->sliderPosition() == distanceBar->value());
            QVERIFY2(distanceBar->value() <= distance + 1e-6 && distance < distanceBar->value() + 1.0 + 1e-6, qPrintable(where));
            if (step % 25 == 0) {
                // Drawn anew from the window's view, the basis update re-runs on an up that is already
                // perpendicular and may move a sample by a pixel; a stale or partial frame differs far more.
                const QImage redrawn = FrameOf(dlg.View());
                const int lit = CountPixels(redrawn, [](QRgb c) { return c == qRgb(0, 0, 255); });
                QVERIFY2(CountDifferences(ShownFrame(dlg), redrawn) <= 20 + lit / 100, qPrintable(where));
            }
        }
        QVERIFY(longSteps > 200);
    }
};

QTEST_MAIN(ViewerRandomTest)
#include "viewer_random_test.moc"
