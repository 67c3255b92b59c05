// Frame costs per surface: tracing alone, the whole frame into the picture, and a drag.
#include <benchmark/benchmark.h>

#include "bench/statistics.h"

#include "geometry/view_changes.h"
#include "render/frame.h"
#include "render/raster_canvas.h"
#include "tests/support/canvas_tracer.h"
#include "render/wireframe_projection.h"
#include "surfaces/registry.h"

namespace {

// A canvas that only counts, so tracing is measured without drawing.
class DiscardCanvas final : public Canvas {
public:
    void SelectPen(Rgb) override {}
    void MoveTo(Pixel p) override { sum += p.col; }
    void LineTo(Pixel p) override { sum += p.row; }
    void Rectangle(int, int, int, int, Rgb) override {}
    long long sum = 0;
};

ViewState ChosenView(SurfaceKind kind)
{
    ViewState view;
    ResetViewState(view);
    view.surface = kind;
    UpdateCameraBasis(view);
    return view;
}

// Tracing afresh: every sample computed from the formulas, projected and passed to the canvas.
void BM_TraceDirect(benchmark::State& state)
{
    ViewState view = ChosenView(static_cast<SurfaceKind>(state.range(0)));
    DiscardCanvas canvas;
    for (auto _ : state) {
        TraceSurface(view, canvas);
        benchmark::DoNotOptimize(canvas.sum);
    }
    state.SetLabel(SurfaceRegistry().Find(static_cast<SurfaceKind>(state.range(0)))->id);
}

// Tracing from the prepared wireframe: projection and replay only.
void BM_TraceWireframe(benchmark::State& state)
{
    ViewState view = ChosenView(static_cast<SurfaceKind>(state.range(0)));
    DiscardCanvas canvas;
    ProjectedPoints projected;
    const Wireframe& wire = BuiltinWireframe(view.surface);
    for (auto _ : state) {
        ProjectWireframe(CameraOf(view), wire, projected);
        ReplayWireframe(wire, projected, canvas);
        benchmark::DoNotOptimize(canvas.sum);
    }
    state.SetLabel(SurfaceRegistry().Find(static_cast<SurfaceKind>(state.range(0)))->id);
}

// The whole frame: hidden rows cleared, square filled and outlined, camera update, trace, raster.
void BM_FullFrame(benchmark::State& state)
{
    ViewState view = ChosenView(static_cast<SurfaceKind>(state.range(0)));
    RasterCanvas picture;
    for (auto _ : state) {
        RenderNextFrame(view, picture);
        benchmark::DoNotOptimize(picture.Bits());
        benchmark::ClobberMemory();
    }
    state.SetLabel(SurfaceRegistry().Find(static_cast<SurfaceKind>(state.range(0)))->id);
}

// A drag of 100 orbit steps on the sine surface, a whole frame after each; time per 100 steps.
void BM_DragSine100(benchmark::State& state)
{
    RasterCanvas picture;
    for (auto _ : state) {
        ViewState view = ChosenView(kSine);
        RenderNextFrame(view, picture);
        for (int step = 0; step < 100; ++step) {
            OrbitEye(view, {0, 0}, {3, 1});
            RenderNextFrame(view, picture);
        }
        benchmark::DoNotOptimize(picture.Bits());
    }
}

}   // namespace

BENCHMARK(BM_TraceDirect)
    ->DenseRange(1, 8)
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", BenchMin)
    ->ComputeStatistics("max", BenchMax);
BENCHMARK(BM_TraceWireframe)
    ->DenseRange(1, 8)
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", BenchMin)
    ->ComputeStatistics("max", BenchMax);
BENCHMARK(BM_FullFrame)
    ->DenseRange(1, 8)
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", BenchMin)
    ->ComputeStatistics("max", BenchMax);
BENCHMARK(BM_DragSine100)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", BenchMin)
    ->ComputeStatistics("max", BenchMax);
