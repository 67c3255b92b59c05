// Where a line behind the surface is cut: the frame between the last pixel seen and the first
// hidden, the figure halfway between two tests that disagree.
#include "render/figure_strokes.h"
#include "render/visible_pieces.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

double Any(double low, double high)
{
    return low + (high - low) * (std::rand() / double(RAND_MAX));
}

// Every run as a stroke: a walk seen whole is not plotted on the way.
struct StrokeList {
    std::vector<Stroke> strokes;
    void operator()(const Stroke& stroke) { strokes.push_back(stroke); }
    bool Walked(Pixel, const std::uint32_t*, std::size_t, Rgb) { return false; }
};

// Surfaces at distances 100 to 130 over much of a square of the given side.
DepthBuffer Facets(int side, bool exact)
{
    DepthBuffer depth;
    depth.Reset(true, 1.0, side);
    for (int n = 0; n < 12; ++n) {
        const double s = side;
        double cols[3] = {Any(-0.2, 1) * s, Any(0, 1.2) * s, Any(0, 1) * s}, rows[3] = {Any(-0.2, 0.6) * s, Any(0, 1) * s, Any(0.4, 1.2) * s};
        double keys[3] = {1 / Any(100, 130), 1 / Any(100, 130), 1 / Any(100, 130)};
        if (exact)
            depth.AddExactTriangle(cols, rows, keys);
        else
            depth.AddTriangle({cols[0], rows[0], keys[0]}, {cols[1], rows[1], keys[1]}, {cols[2], rows[2], keys[2]});
    }
    return depth;
}

TEST(SeenRuns, TheFrameDrawsEachRunOfSeenPixelsFromItsFirstToItsLast)
{
    std::srand(5);
    const DepthBuffer depth = Facets(kCanvasSide, false);
    visible_pieces::WalkScratch walk;
    int cut = 0;
    for (int n = 0; n < 4000; ++n) {
        const int reach = n % 2 ? 8 : kCanvasSide;   // short walks take the table, long ones the loop
        const Pixel from{std::rand() % kCanvasSide, std::rand() % kCanvasSide};
        const Pixel to{std::clamp(from.col + std::rand() % (2 * reach) - reach, 0, kCanvasSide - 1),
                       std::clamp(from.row + std::rand() % (2 * reach) - reach, 0, kCanvasSide - 1)};
        const double ka = 1 / Any(95, 135), kb = 1 / Any(95, 135);
        StrokeList drawn;
        visible_pieces::AddVisiblePieces(from, to, ka, kb, kSurfaceBlue, depth, walk, drawn);

        // Each pixel of the walk tested alone, as the frame tests it.
        const int major = std::max(std::abs(to.col - from.col), std::abs(to.row - from.row));
        std::uint32_t index[kCanvasSide];
        for (int i = 0; i <= std::max(major, 7); ++i) {
            const Pixel p = visible_pieces::PixelAtStep(from, to, std::min(i, major));
            index[i] = static_cast<std::uint32_t>(p.row * kCanvasSide + p.col);
        }
        bool seen[kCanvasSide];
        if (major < 8) {
            const unsigned bits = depth.SeenOfEight(index, static_cast<unsigned>(major), static_cast<float>(major ? ka : std::max(ka, kb)),
                                                    major ? static_cast<float>((kb - ka) / major) : 0.0f);
            for (int i = 0; i <= major; ++i)
                seen[i] = (bits >> i) & 1;
        } else {
            depth.SeesAlong(static_cast<std::size_t>(major) + 1, ka, (kb - ka) / major, index, seen);
        }
        std::vector<Stroke> expected;
        for (int i = 0; i <= major; ++i) {
            if (!seen[i] || (i > 0 && seen[i - 1]))
                continue;
            int last = i;
            while (last < major && seen[last + 1])
                ++last;
            expected.push_back({visible_pieces::PixelAtStep(from, to, i), visible_pieces::PixelAtStep(from, to, last), kSurfaceBlue});
        }
        ASSERT_EQ(drawn.strokes.size(), expected.size()) << n;
        for (std::size_t k = 0; k < expected.size(); ++k)
            ASSERT_TRUE(drawn.strokes[k].from == expected[k].from && drawn.strokes[k].to == expected[k].to) << n << " " << k;
        cut += expected.size() > 1 || (expected.size() == 1 && !(expected[0].from == from && expected[0].to == to));
    }
    EXPECT_GT(cut, 500);   // many walks are neither seen whole nor hidden whole
}

TEST(SeenRuns, TheFigureCutsHalfwayBetweenTwoTestsThatDisagreeAndDashesWhatIsHidden)
{
    std::srand(9);
    constexpr int kSide = 1300;
    const DepthBuffer depth = Facets(kSide, true);
    int cuts = 0;
    for (int n = 0; n < 1500; ++n) {
        const FigurePoint a{Any(0, kSide), Any(0, kSide)};
        const FigurePoint b = n % 2 ? FigurePoint{a.x + Any(-6, 6), a.y + Any(-6, 6)} : FigurePoint{Any(0, kSide), Any(0, kSide)};
        if (b.x < 0 || b.y < 0 || b.x >= kSide || b.y >= kSide)
            continue;
        const double ka = 1 / Any(95, 135), kb = 1 / Any(95, 135);
        FigureLayer layer;
        PathSink sink(layer, kSide, 0.0);
        AddTestedSegment(a, b, ka, kb, kSurfaceBlue, true, depth, sink);

        const long long steps = std::max(1LL, static_cast<long long>(std::ceil(std::max(std::fabs(b.x - a.x), std::fabs(b.y - a.y)))));
        auto at = [&](double t) { return FigurePoint{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; };
        auto seenAt = [&](long long i) {
            const double t = static_cast<double>(i) / static_cast<double>(steps);
            const FigurePoint p = i == 0 ? a : i == steps ? b : at(t);
            return depth.Sees(static_cast<long long>(std::floor(p.x)), static_cast<long long>(std::floor(p.y)), ka + (kb - ka) * t);
        };
        // The pieces in order, from a to b: each begins where a test changed its answer.
        std::vector<FigurePoint> expectedStarts{a};
        std::vector<bool> expectedDashed{!seenAt(0)};
        for (long long i = 1; i <= steps; ++i)
            if (seenAt(i) != seenAt(i - 1)) {
                expectedStarts.push_back(at((static_cast<double>(i) - 0.5) / static_cast<double>(steps)));
                expectedDashed.push_back(!seenAt(i));
            }
        ASSERT_EQ(layer.paths.size(), expectedStarts.size()) << n;
        for (std::size_t k = 0; k < layer.paths.size(); ++k) {
            const FigurePath& path = layer.paths[k];
            ASSERT_EQ(path.points.size(), 2u);
            EXPECT_EQ(path.dashed, expectedDashed[k]) << n << " " << k;
            EXPECT_TRUE(path.points[0].x == expectedStarts[k].x && path.points[0].y == expectedStarts[k].y) << n << " " << k;
            const FigurePoint end = k + 1 < layer.paths.size() ? expectedStarts[k + 1] : b;
            EXPECT_TRUE(path.points[1].x == end.x && path.points[1].y == end.y) << n << " " << k;
        }
        cuts += static_cast<int>(expectedStarts.size()) - 1;
    }
    EXPECT_GT(cuts, 300);
}

}   // namespace
