// Equation surfaces: a quadric with three families of sections and its facets, and the whole
// vexilon-render process with hidden lines beside the built-in sphere's.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "bench/statistics.h"
#include "geometry/view_changes.h"
#include "render/frame.h"
#include "render/raster_canvas.h"
#include "surfaces/typed_surface.h"

extern char** environ;

namespace {

// The hyperboloid of one sheet by its reduced equation, at the default box and grid.
void BM_QuadricThreeFamiliesOf12(benchmark::State& state)
{
    SurfaceDefinition def;
    def.equation = "x^2/a^2 + y^2/b^2 - z^2/c^2 = 1";
    def.params = {{"a", 1.0}, {"b", 1.0}, {"c", 1.0}};
    def.families = Families::None;
    def.sections = "xyz";
    def.planes = 12;
    size_t triangles = 0;
    for (auto _ : state) {
        DefinitionProblem problem;
        std::optional<Wireframe> wire = BuildTypedSurface(def, problem);
        if (!wire) {
            state.SkipWithError("the quadric was not built");
            break;
        }
        triangles = wire->triangles.size() / 3;
        benchmark::DoNotOptimize(wire);
    }
    state.counters["triangles"] = static_cast<double>(triangles);
}

// A slider step of the gallery's level surface x² + y² − z² = c ("nivel": box −2..2, grid 40,
// sections x, y, z of 10 planes): the surface built anew at the slider's next c and drawn with hidden
// lines into the window's picture, as the window and the page do.
void BM_LevelSurfaceSliderStep(benchmark::State& state)
{
    SurfaceDefinition def;
    def.equation = "x^2 + y^2 - z^2 = c";
    def.params = {{"c", 0.5}};
    def.ranges = {{"c", -1.0, 1.0}};
    def.families = Families::None;
    def.sections = "xyz";
    def.planes = 10;
    ViewState view;
    ResetViewState(view);
    RasterCanvas picture;
    FrameStyle style;
    style.hiddenLines = true;
    int step = 0;
    for (auto _ : state) {
        def.params[0].second = -1.0 + 2.0 * (step++ % 100) / 99;   // the slider's next place
        DefinitionProblem problem;
        const std::optional<Wireframe> wire = BuildTypedSurface(def, problem);
        if (!wire) {
            state.SkipWithError("the level surface was not built");
            break;
        }
        DrawFrame(BeginFrame(view, *wire), *wire, style, picture);
        benchmark::DoNotOptimize(picture.Bits());
    }
}

void RunProcess(benchmark::State& state, std::vector<const char*> argv)
{
    argv.push_back(nullptr);
    for (auto _ : state) {
        pid_t pid;
        if (posix_spawn(&pid, argv[0], nullptr, nullptr, const_cast<char**>(argv.data()), environ) != 0) {
            state.SkipWithError("cannot start vexilon-render");
            break;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            state.SkipWithError("vexilon-render failed");
    }
}

// vexilon-render --implicit ELLIPSOID --hidden -o FILE.png, from start to exit.
void BM_ImplicitHiddenProcess(benchmark::State& state)
{
    RunProcess(state, {VEXILON_RENDER_PATH, "--implicit", "x^2/4 + y^2 + z^2/2.25 = 1", "--box=-2.1,2.1,-1.1,1.1,-1.6,1.6",
                       "--hidden", "-o", "/tmp/vexilon-bench-implicit.png"});
    std::remove("/tmp/vexilon-bench-implicit.png");
}

// vexilon-render -s esfera --hidden -o FILE.png, the yardstick.
void BM_SphereHiddenProcess(benchmark::State& state)
{
    RunProcess(state, {VEXILON_RENDER_PATH, "-s", "esfera", "--hidden", "-o", "/tmp/vexilon-bench-sphere.png"});
    std::remove("/tmp/vexilon-bench-sphere.png");
}

}   // namespace

BENCHMARK(BM_QuadricThreeFamiliesOf12)->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", BenchMin)->ComputeStatistics("max", BenchMax);
BENCHMARK(BM_LevelSurfaceSliderStep)->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", BenchMin)->ComputeStatistics("max", BenchMax);
BENCHMARK(BM_ImplicitHiddenProcess)->Unit(benchmark::kMillisecond)->UseRealTime()
    ->ComputeStatistics("min", BenchMin)->ComputeStatistics("max", BenchMax);
BENCHMARK(BM_SphereHiddenProcess)->Unit(benchmark::kMillisecond)->UseRealTime()
    ->ComputeStatistics("min", BenchMin)->ComputeStatistics("max", BenchMax);
