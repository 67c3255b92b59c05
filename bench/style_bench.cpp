// The cost of each frame style on the sine surface beside the plain frame, in the same run: the
// camera step and the frame drawn into the window's picture.
#include <benchmark/benchmark.h>

#include "bench/statistics.h"

#include "geometry/view_changes.h"
#include "render/frame.h"
#include "surfaces/registry.h"

namespace {

struct Case {
    const char* label;
    FrameStyle  style;
};

FrameStyle Styled(bool hidden, bool cue, bool stereo, bool parallel, int width)
{
    FrameStyle style;
    style.hiddenLines = hidden;
    style.depthCue = cue;
    style.anaglyph = stereo;
    style.parallel = parallel;
    style.lineWidth = width;
    return style;
}

const Case kCases[] = {
    {"plain", Styled(false, false, false, false, 1)},     {"hidden", Styled(true, false, false, false, 1)},
    {"anaglyph", Styled(false, false, true, false, 1)},   {"depth-cue", Styled(false, true, false, false, 1)},
    {"parallel", Styled(false, false, false, true, 1)},   {"line-width 3", Styled(false, false, false, false, 3)},
    {"all but parallel", Styled(true, true, true, false, 2)},
};

// Arguments: the case, then the surface.
void BM_StyledFrame(benchmark::State& state)
{
    const Case& c = kCases[state.range(0)];
    ViewState view;
    ResetViewState(view);
    view.surface = static_cast<SurfaceKind>(state.range(1));
    const Wireframe& wire = BuiltinWireframe(view.surface);
    RasterCanvas picture;
    for (auto _ : state) {
        DrawFrame(BeginFrame(view, wire), wire, c.style, picture);
        benchmark::DoNotOptimize(picture.Bits());
        benchmark::ClobberMemory();
    }
    state.SetLabel(std::string(SurfaceRegistry().Find(view.surface)->id) + " " + c.label);
}

}   // namespace

BENCHMARK(BM_StyledFrame)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6}, {kSine}})
    ->ArgsProduct({{0, 1}, {kTorus, kSphere}})
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", BenchMin)
    ->ComputeStatistics("max", BenchMax);
