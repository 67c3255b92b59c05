// Typed surfaces: sampling 2 million points once, and a frame of a typed surface against the sine
// surface, per line-to drawn.
#include <benchmark/benchmark.h>

#include "geometry/view_changes.h"
#include "render/frame.h"
#include "render/raster_canvas.h"
#include "render/recording_canvas.h"
#include "surfaces/registry.h"
#include "surfaces/typed_surface.h"

namespace {

// A torus: three formulas of the kind a teacher types, with a parameter.
SurfaceDefinition Torus(int lines, int samples)
{
    SurfaceDefinition def;
    def.xyz = {"(R + cos(v))*cos(u)", "(R + cos(v))*sin(u)", "sin(v)"};
    def.u = {"0", "2*pi", lines};
    def.v = {"0", "2*pi", lines};
    def.samples = samples;
    def.params = {{"R", 3.0}};
    return def;
}

void BM_SampleTwoMillion(benchmark::State& state)
{
    const SurfaceDefinition def = Torus(1000, 1000);   // 2,000 lines of 1,000 samples
    for (auto _ : state) {
        DefinitionProblem problem;
        std::optional<Wireframe> wire = BuildTypedSurface(def, problem);
        benchmark::DoNotOptimize(wire);
    }
    state.counters["samples"] = 2000000;
}
BENCHMARK(BM_SampleTwoMillion)->Unit(benchmark::kMillisecond);

int LineTos(const Wireframe& wire)
{
    ViewState view;
    ResetViewState(view);
    RecordingCanvas canvas;
    DrawFrame(BeginFrame(view, wire), wire, canvas);
    int count = 0;
    for (const CanvasCall& call : canvas.calls)
        count += call.op == CanvasCall::Op::LineTo;
    return count;
}

// The whole frame into the window's picture, from the prepared wireframe, as the window draws it.
void FrameOf(benchmark::State& state, const Wireframe& wire)
{
    ViewState view;
    ResetViewState(view);
    RasterCanvas picture;
    for (auto _ : state) {
        DrawFrame(BeginFrame(view, wire), wire, picture);
        benchmark::DoNotOptimize(picture.Bits());
    }
    state.counters["ns_per_lineto"] =
        benchmark::Counter(LineTos(wire) * 1e-9, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_FrameSine(benchmark::State& state)
{
    FrameOf(state, BuiltinWireframe(kSine));
}
BENCHMARK(BM_FrameSine)->Unit(benchmark::kMicrosecond);

// A typed surface with about as many line-tos as the sine surface.
void BM_FrameTyped(benchmark::State& state)
{
    DefinitionProblem problem;
    static const Wireframe wire = *BuildTypedSurface(Torus(80, 80), problem);
    FrameOf(state, wire);
}
BENCHMARK(BM_FrameTyped)->Unit(benchmark::kMicrosecond);

}   // namespace
