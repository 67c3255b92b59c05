// The baseline: the plainest fast frame of the sine and torus wireframes. Clear a 32-bit buffer,
// project precomputed points with a fixed perspective, Bresenham every segment. No checks of any
// kind; it is the yardstick the real frame is compared with, not a renderer.
#include <benchmark/benchmark.h>

#include "bench/statistics.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "geometry/view_changes.h"
#include "surfaces/registry.h"

namespace {

constexpr int kSide = 500;

struct Scene {
    std::vector<float> xs, ys, zs;           // world points
    std::vector<std::uint32_t> lineStarts;   // index of each line's first point
    std::vector<int> cols, rows;
    std::vector<std::uint32_t> buffer = std::vector<std::uint32_t>(kSide * kSide);
    double right[3], up[3], eye[3], zoom;
};

Scene MakeScene(SurfaceKind kind)
{
    Scene s;
    const Wireframe& wire = BuiltinWireframe(kind);
    for (size_t i = 0; i < wire.ops.size(); ++i) {
        const Vec3 p = wire.Point(wire.ops[i].from);
        if (wire.ops[i].to == WireOp::kLineStart)
            s.lineStarts.push_back(static_cast<std::uint32_t>(s.xs.size()));
        s.xs.push_back(static_cast<float>(p.x));
        s.ys.push_back(static_cast<float>(p.y));
        s.zs.push_back(static_cast<float>(p.z));
    }
    s.lineStarts.push_back(static_cast<std::uint32_t>(s.xs.size()));
    s.cols.resize(s.xs.size());
    s.rows.resize(s.xs.size());
    ViewState view;
    ResetViewState(view);
    UpdateCameraBasis(view);
    const double n = VecLength(view.eye);
    for (int i = 0; i < 3; ++i) {
        s.right[i] = (&view.right.x)[i];
        s.up[i] = (&view.up.x)[i];
        s.eye[i] = (&view.eye.x)[i] / n;
    }
    s.zoom = view.zoom * 20.0;
    return s;
}

void Project(Scene& s)
{
    const double d = 300.0;
    for (size_t i = 0; i < s.xs.size(); ++i) {
        const double x = s.xs[i], y = s.ys[i], z = s.zs[i];
        const double depth = d - (x * s.eye[0] + y * s.eye[1] + z * s.eye[2]);
        const double k = s.zoom / depth;
        s.cols[i] = static_cast<int>((x * s.right[0] + y * s.right[1] + z * s.right[2]) * k + 250.0);
        s.rows[i] = static_cast<int>(250.0 - (x * s.up[0] + y * s.up[1] + z * s.up[2]) * k);
    }
}

void Line(std::uint32_t* buffer, int x0, int y0, int x1, int y1)
{
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        if (static_cast<unsigned>(x0) < kSide && static_cast<unsigned>(y0) < kSide)
            buffer[y0 * kSide + x0] = 0xFF0000FFu;
        if (x0 == x1 && y0 == y1)
            break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void Raster(Scene& s)
{
    for (size_t l = 0; l + 1 < s.lineStarts.size(); ++l)
        for (std::uint32_t i = s.lineStarts[l]; i + 1 < s.lineStarts[l + 1]; ++i)
            Line(s.buffer.data(), s.cols[i], s.rows[i], s.cols[i + 1], s.rows[i + 1]);
}

void BM_BaselineClear(benchmark::State& state)
{
    Scene s = MakeScene(static_cast<SurfaceKind>(state.range(0)));
    for (auto _ : state) {
        std::memset(s.buffer.data(), 0, s.buffer.size() * 4);
        benchmark::ClobberMemory();
    }
}

void BM_BaselineProject(benchmark::State& state)
{
    Scene s = MakeScene(static_cast<SurfaceKind>(state.range(0)));
    for (auto _ : state) {
        Project(s);
        benchmark::DoNotOptimize(s.cols.data());
    }
}

void BM_BaselineFrame(benchmark::State& state)
{
    Scene s = MakeScene(static_cast<SurfaceKind>(state.range(0)));
    for (auto _ : state) {
        std::memset(s.buffer.data(), 0, s.buffer.size() * 4);
        Project(s);
        Raster(s);
        benchmark::DoNotOptimize(s.buffer.data());
        benchmark::ClobberMemory();
    }
    state.SetLabel(SurfaceRegistry().Find(static_cast<SurfaceKind>(state.range(0)))->id);
}

}   // namespace

BENCHMARK(BM_BaselineClear)
    ->Arg(kSine)
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", BenchMin)
    ->ComputeStatistics("max", BenchMax);
BENCHMARK(BM_BaselineProject)
    ->Arg(kSine)
    ->Arg(kTorus)
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", BenchMin)
    ->ComputeStatistics("max", BenchMax);
BENCHMARK(BM_BaselineFrame)
    ->Arg(kSine)
    ->Arg(kTorus)
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", BenchMin)
    ->ComputeStatistics("max", BenchMax);
