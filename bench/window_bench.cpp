// The window's cost of a frame, on Qt's offscreen platform: a drag step from the mouse event to the
// frame painted, and RenderScene with the repaint of the square.
#include <benchmark/benchmark.h>

#include "bench/statistics.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QSlider>
#include <QMouseEvent>
#include <QRadioButton>

#include "ui/viewer_dlg.h"

namespace {

struct Window {
    Window()
    {
        dialog.show();
        dialog.findChild<QRadioButton*>("IDC_SURFACE_SINE")->click();
        QApplication::processEvents();
    }
    void Mouse(QEvent::Type type, QPointF at)
    {
        QMouseEvent event(type, at, dialog.mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&dialog, &event);
    }
    CViewerDlg dialog;
};

// Drag steps of three pixels back and forth, one an iteration: the move event, the frame drawn
// off screen, and the square repainted at once.
void DragSteps(benchmark::State& state, Window& window)
{
    QPointF at(100, 300);
    window.Mouse(QEvent::MouseButtonPress, at);
    double dx = 3;
    for (auto _ : state) {
        at.rx() += dx;
        if (at.x() > 160 || at.x() < 100)
            dx = -dx;
        window.Mouse(QEvent::MouseMove, at);
        window.dialog.repaint(window.dialog.SquareRect());
    }
    window.Mouse(QEvent::MouseButtonRelease, at);
}

// A drag step on the sine surface.
void BM_WindowDragStepSine(benchmark::State& state)
{
    Window window;
    DragSteps(state, window);
}

// The same drag step with "Ocultar líneas traseras" on.
void BM_WindowDragStepSineHidden(benchmark::State& state)
{
    Window window;
    window.dialog.findChild<QCheckBox*>("IDC_VIEW_HIDDEN")->click();
    DragSteps(state, window);
}

// The same drag step in a window the size of a 1920 x 1080 screen: the square 1058 pixels a side,
// drawn as the figure of that size.
void BM_WindowDragStepSineLarge(benchmark::State& state)
{
    Window window;
    window.dialog.resize(1920, 1080);
    QApplication::processEvents();
    DragSteps(state, window);
}

// The projector's picture at that size: hidden lines, axes and their names, lines 2 pixels wide.
void BM_WindowDragStepSineLargeProjector(benchmark::State& state)
{
    Window window;
    window.dialog.resize(1920, 1080);
    window.dialog.findChild<QCheckBox*>("IDC_VIEW_HIDDEN")->click();
    window.dialog.findChild<QCheckBox*>("IDC_VIEW_AXES")->click();
    window.dialog.findChild<QComboBox*>("IDC_VIEW_THEME")->setCurrentIndex(2);
    QApplication::processEvents();
    DragSteps(state, window);
}

// RenderScene and the repaint of the square, for the current surface.
void BM_WindowRenderAndPresent(benchmark::State& state)
{
    Window window;
    for (auto _ : state) {
        window.dialog.RenderScene();
        window.dialog.repaint(kFrameRect);
    }
}

// A slider step of "Parámetros" with hidden lines: Dini's surface (49 x 11 lines, 61 samples)
// sampled again at the slider's next place, drawn and the square repainted.
void BM_WindowSliderStepDiniHidden(benchmark::State& state)
{
    Window window;
    window.dialog.findChild<QCheckBox*>("IDC_VIEW_HIDDEN")->click();
    auto* list = window.dialog.findChild<QComboBox*>("IDC_SURFACE_LIST");
    list->setCurrentIndex(list->findData(window.dialog.Surfaces().FindId("dini")->number));
    window.dialog.findChild<QRadioButton*>("IDC_OTHER_SURFACE")->click();
    QApplication::processEvents();
    auto* slider = window.dialog.findChild<QSlider*>("IDC_PARAM_SLIDER_1");   // b, the rise
    int step = 1;
    for (auto _ : state) {
        if (slider->value() + step > slider->maximum() || slider->value() + step < 0)
            step = -step;
        slider->setValue(slider->value() + 10 * step);
        window.dialog.repaint(kFrameRect);
    }
}

}   // namespace

BENCHMARK(BM_WindowSliderStepDiniHidden)
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", BenchMin)
    ->ComputeStatistics("max", BenchMax);
BENCHMARK(BM_WindowDragStepSine)
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", BenchMin)
    ->ComputeStatistics("max", BenchMax);
BENCHMARK(BM_WindowDragStepSineHidden)
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", BenchMin)
    ->ComputeStatistics("max", BenchMax);
BENCHMARK(BM_WindowDragStepSineLarge)
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", BenchMin)
    ->ComputeStatistics("max", BenchMax);
BENCHMARK(BM_WindowDragStepSineLargeProjector)
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", BenchMin)
    ->ComputeStatistics("max", BenchMax);
BENCHMARK(BM_WindowRenderAndPresent)
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", BenchMin)
    ->ComputeStatistics("max", BenchMax);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
