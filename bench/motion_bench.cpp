// Lessons that move: one slider step (the surface sampled again at a new value and drawn with hidden
// lines into the window's picture) and a swept GIF of 300 frames written by the command line.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/render_cli.h"
#include "geometry/view_changes.h"
#include "render/frame.h"
#include "render/raster_canvas.h"
#include "surfaces/typed_surface.h"

namespace {

// Dini's surface with its rise on the slider: 25 x 25 lines of 61 samples.
SurfaceDefinition Dini()
{
    SurfaceDefinition def;
    def.xyz = {"cos(u)*sin(v)", "sin(u)*sin(v)", "cos(v) + ln(tan(v/2)) + b*u"};
    def.u = {"0", "4*pi", 25};
    def.v = {"0.05", "2", 25};
    def.samples = 61;
    def.params = {{"b", 0.2}};
    def.ranges = {{"b", 0.0, 0.6}};
    return def;
}

void BM_SliderStep(benchmark::State& state)
{
    SurfaceDefinition def = Dini();
    ViewState view;
    ResetViewState(view);
    RasterCanvas picture;
    FrameStyle style;
    style.hiddenLines = true;
    int step = 0;
    for (auto _ : state) {
        def.params[0].second = 0.6 * (step++ % 100) / 99;   // the slider's next place
        DefinitionProblem problem;
        const std::optional<Wireframe> wire = BuildTypedSurface(def, problem);
        DrawFrame(BeginFrame(view, *wire), *wire, style, picture);
        benchmark::DoNotOptimize(picture.Bits());
    }
}
BENCHMARK(BM_SliderStep)->Unit(benchmark::kMillisecond);

void BM_SweptGif300(benchmark::State& state)
{
    const std::string path = "/tmp/vexilon-motion-bench.gif";
    const std::vector<const char*> args = {"vexilon-render", "--x", "cos(u)*sin(v)", "--y", "sin(u)*sin(v)", "--z",
                                           "cos(v) + ln(tan(v/2)) + b*u", "--u", "0,4*pi", "--v", "0.05,2",
                                           "--sweep", "b=0:0.6", "--frames", "300", "-o", path.c_str()};
    for (auto _ : state) {
        const int status = RunRenderCli(static_cast<int>(args.size()), args.data(), stdout, stderr);
        if (status != 0)
            state.SkipWithError("vexilon-render failed");
    }
    std::remove(path.c_str());
    state.counters["frames_per_s"] = benchmark::Counter(300, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_SweptGif300)->Unit(benchmark::kMillisecond);

}   // namespace
