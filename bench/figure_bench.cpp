// Figures: a themed 500 frame beside the plain one, a PDF of the hidden sine surface, and a
// 4000-pixel hidden sine picture as a whole vexilon-render process.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/statistics.h"

#include "export/frame_encoder.h"
#include "geometry/view_changes.h"
#include "render/frame.h"
#include "surfaces/registry.h"

extern char** environ;

namespace {

Camera SineCamera()
{
    ViewState view;
    ResetViewState(view);
    view.surface = kSine;
    return BeginFrame(view, BuiltinWireframe(kSine));
}

// Argument: 0 the plain frame, 1 the papel theme, 2 the proyector theme (2-pixel lines), 3 the
// plain frame with 2-pixel lines; each a PNG's picture drawn by the encoder.
void BM_ThemedFrame(benchmark::State& state)
{
    const Camera camera = SineCamera();
    const Wireframe& wire = BuiltinWireframe(kSine);
    FrameStyle style;
    const Theme themes[] = {Theme::Pantalla, Theme::Papel, Theme::Proyector, Theme::Pantalla};
    style.theme = themes[state.range(0)];
    style.lineWidth = state.range(0) >= 2 ? 2 : 1;
    FrameEncoder encoder(OutputFormat::Png);
    for (auto _ : state) {
        encoder.Draw(camera, wire, style);
        benchmark::ClobberMemory();
    }
    const char* labels[] = {"plain", "papel", "proyector", "plain, 2-pixel lines"};
    state.SetLabel(labels[state.range(0)]);
}

// The hidden sine surface drawn and written as PDF.
void BM_HiddenSinePdf(benchmark::State& state)
{
    const Camera camera = SineCamera();
    const Wireframe& wire = BuiltinWireframe(kSine);
    FrameStyle style;
    style.hiddenLines = true;
    FrameEncoder encoder(OutputFormat::Pdf);
    std::FILE* file = std::tmpfile();
    for (auto _ : state) {
        std::rewind(file);
        encoder.Draw(camera, wire, style);
        if (!encoder.Write(file))
            state.SkipWithError("the PDF was not written");
    }
    std::fclose(file);
}

// vexilon-render --size 4000 --hidden -s seno -o FILE.png, from start to exit.
void BM_Size4000HiddenSineProcess(benchmark::State& state)
{
    const std::string out = "/tmp/vexilon-bench-4000.png";
    const char* argv[] = {VEXILON_RENDER_PATH, "--size", "4000", "--hidden", "-s", "seno", "-o", out.c_str(), nullptr};
    for (auto _ : state) {
        pid_t pid;
        if (posix_spawn(&pid, argv[0], nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
            state.SkipWithError("cannot start vexilon-render");
            break;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            state.SkipWithError("vexilon-render failed");
    }
    std::remove(out.c_str());
}

}   // namespace

BENCHMARK(BM_ThemedFrame)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", BenchMin)->ComputeStatistics("max", BenchMax);
BENCHMARK(BM_HiddenSinePdf)->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", BenchMin)->ComputeStatistics("max", BenchMax);
BENCHMARK(BM_Size4000HiddenSineProcess)->Unit(benchmark::kMillisecond)->UseRealTime()
    ->ComputeStatistics("min", BenchMin)->ComputeStatistics("max", BenchMax);
