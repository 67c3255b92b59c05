// The depth of the square: what the facets leave in it, the same from every way of filling it,
// and the tests of a line's pixels against it.
#include "render/depth_buffer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

double Any(double low, double high)
{
    return low + (high - low) * (std::rand() / double(RAND_MAX));
}

// Points and triangles as a frame gives them: a bent grid of quads listed a b c, a c d, lone
// triangles of every size and winding, some reaching far outside the square, and quads of any shape.
struct Mesh {
    std::vector<double> cols, rows, keys;
    std::vector<std::uint8_t> usable;
    std::vector<std::uint32_t> triangles;

    std::uint32_t Add(double col, double row, double key)
    {
        cols.push_back(col);
        rows.push_back(row);
        keys.push_back(key);
        return static_cast<std::uint32_t>(cols.size() - 1);
    }
    FacetMesh View()
    {
        usable.resize(cols.size());
        return {cols.data(), rows.data(), keys.data(), UsablePoints(cols.data(), rows.data(), keys.data(), cols.size(), usable.data()),
                cols.size(), triangles.data(), triangles.size()};
    }
};

Mesh BentGridAndStrays(unsigned seed)
{
    std::srand(seed);
    Mesh mesh;
    constexpr int kSide = 60;
    for (int j = 0; j < kSide; ++j)
        for (int i = 0; i < kSide; ++i) {
            const double u = i / double(kSide - 1), v = j / double(kSide - 1);
            mesh.Add(-30 + 560 * u + 40 * std::sin(7 * v), -30 + 560 * v + 60 * std::sin(5 * u + 3 * v),
                     1.0 / (250 + 80 * std::sin(9 * u) * std::cos(6 * v)));
        }
    for (int j = 0; j + 1 < kSide; ++j)
        for (int i = 0; i + 1 < kSide; ++i) {
            const std::uint32_t a = j * kSide + i, b = a + 1, c = a + kSide + 1, d = a + kSide;
            mesh.triangles.insert(mesh.triangles.end(), {a, b, c, a, c, d});
        }
    for (int n = 0; n < 400; ++n) {
        const double col = Any(-50, 550), row = Any(-50, 550), size = n % 20 == 0 ? 2000 : Any(0.2, 40);
        for (int k = 0; k < 3; ++k)
            mesh.triangles.push_back(mesh.Add(col + Any(-size, size), row + Any(-size, size), Any(0.001, 0.01)));
    }
    for (int n = 0; n < 400; ++n) {   // quads of four random corners: darts, bow ties and convex ones
        const double col = Any(-50, 550), row = Any(-50, 550), size = Any(1, 60);
        std::uint32_t corner[4];
        for (std::uint32_t& at : corner)
            at = mesh.Add(col + Any(-size, size), row + Any(-size, size), Any(0.001, 0.01));
        mesh.triangles.insert(mesh.triangles.end(), {corner[0], corner[1], corner[2], corner[0], corner[2], corner[3]});
    }
    return mesh;
}

std::vector<float> Keys(const DepthBuffer& depth)
{
    std::vector<float> keys;
    for (int r = 0; r < kCanvasSide; ++r)
        for (int c = 0; c < kCanvasSide; ++c)
            keys.push_back(depth.KeyAt(c, r));
    return keys;
}

}   // namespace

TEST(DepthBuffer, EveryWayOfFillingLeavesTheSameKeys)
{
    for (const bool perspective : {true, false}) {
        Mesh mesh = BentGridAndStrays(perspective ? 5 : 6);
        if (!perspective)
            for (double& key : mesh.keys)
                key = -1.0 / key;   // a parallel eye's keys: minus the distance
        std::vector<float> expected;
        for (const FillPath path : {FillPath::kPortable, FillPath::kSse2, FillPath::kAvx2}) {
            if (!FillPathAvailable(path))
                continue;
            DepthBuffer depth;
            depth.UseFillPath(path);
            depth.Reset(perspective, 0.0);
            depth.AddFacets(mesh.View());
            const std::vector<float> keys = Keys(depth);
            if (expected.empty()) {
                expected = keys;
                long long covered = 0;
                for (const float key : keys)
                    covered += key != (perspective ? 0.0f : -INFINITY);
                ASSERT_GT(covered, 150000);   // the grid covers most of the square
                continue;
            }
            ASSERT_EQ(0, std::memcmp(keys.data(), expected.data(), keys.size() * sizeof(float)))
                << "path " << static_cast<int>(path) << (perspective ? " perspective" : " parallel");
        }
    }
#if defined(__SSE2__)
    EXPECT_TRUE(FillPathAvailable(FillPath::kSse2));
#endif
}

TEST(DepthBuffer, AFacetWithoutFinitePointsOrWithHugeKeysIsStillRight)
{
    DepthBuffer depth;
    depth.Reset(true, 0.0);
    depth.AddTriangle({10, 10, 1e35}, {90, 10, 1e35}, {10, 90, 1e35});   // steps too large to take eight at once
    EXPECT_FLOAT_EQ(depth.KeyAt(20, 20), 1e35f);
    EXPECT_EQ(depth.KeyAt(85, 85), 0.0f);
    depth.AddTriangle({100, 100, NAN}, {200, 100, 0.01}, {100, 200, 0.01});   // reaches behind the eye
    depth.AddQuad({300, 300, 0.01}, {400, 300, INFINITY}, {400, 400, 0.01}, {300, 400, 0.01});
    EXPECT_EQ(depth.KeyAt(110, 110), 0.0f);
    EXPECT_EQ(depth.KeyAt(390, 310), 0.0f);        // the half with the far point hides nothing
    EXPECT_FLOAT_EQ(depth.KeyAt(310, 390), 0.01f);   // the other half does
}

TEST(DepthBuffer, EightPixelsAtOnceAreTestedAsOneByOne)
{
    for (const bool perspective : {true, false}) {
        Mesh mesh = BentGridAndStrays(7);
        if (!perspective)
            for (double& key : mesh.keys)
                key = -1.0 / key;
        const double tolerance = perspective ? 0.00002 : 4.0;
        DepthBuffer depth;
        depth.Reset(perspective, tolerance);
        depth.AddFacets(mesh.View());
        int seenWhole = 0, hiddenWhole = 0;
        for (int n = 0; n < 20000; ++n) {
            // A short run of pixels across or down, with keys about those of the facets there.
            std::uint32_t index[8];
            const unsigned last = static_cast<unsigned>(std::rand() % 8);
            const int col = std::rand() % (kCanvasSide - 8), row = std::rand() % (kCanvasSide - 8);
            const bool across = std::rand() % 2;
            for (unsigned i = 0; i < 8; ++i) {
                const unsigned step = i <= last ? i : last;
                index[i] = static_cast<std::uint32_t>((row + (across ? 0 : step)) * kCanvasSide + col + (across ? step : 0));
            }
            const double there = depth.KeyAt(col, row);
            const float first = static_cast<float>(perspective ? there * Any(0.99995, 1.00005) : there + Any(-6, 6));
            const float perStep = static_cast<float>(perspective ? there * Any(-0.00001, 0.00001) : Any(-1, 1));
            bool seen[8];
            depth.SeesAlong(last + 1, first, perStep, index, seen);
            const unsigned bits = depth.SeenOfEight(index, last, first, perStep);
            for (unsigned i = 0; i < 8; ++i) {
                const unsigned step = i <= last ? i : last;
                const double key = double(first) + double(perStep) * step, nearest = depth.KeyAt(index[i] % kCanvasSide, index[i] / kCanvasSide);
                const double margin = perspective ? key * (1.0 + tolerance * nearest) - nearest : key - (nearest - tolerance);
                if (std::fabs(margin) > 1e-6 * std::fabs(nearest)) {   // single precision decides only closer calls
                    ASSERT_EQ((bits >> i) & 1, seen[step]) << n << " " << i;
                }
            }
            seenWhole += bits == 0xFFu;
            hiddenWhole += bits == 0;
        }
        EXPECT_GT(seenWhole, 1000);   // both answers are exercised
        EXPECT_GT(hiddenWhole, 1000);
    }
}

TEST(DepthBuffer, KeepsTheNearestFacetAndSeesLinesOnItWithinTheTolerance)
{
    DepthBuffer depth;
    depth.Reset(true, 1.0);
    depth.AddTriangle({10, 10, 1.0 / 100}, {90, 10, 1.0 / 100}, {10, 90, 1.0 / 100});   // distance 100
    depth.AddTriangle({10, 10, 1.0 / 200}, {90, 10, 1.0 / 200}, {90, 90, 1.0 / 200});   // behind it
    EXPECT_FLOAT_EQ(depth.KeyAt(20, 20), 1.0f / 100);
    EXPECT_FLOAT_EQ(depth.KeyAt(80, 70), 1.0f / 200);   // only the far one covers this pixel
    EXPECT_EQ(depth.KeyAt(20, 60), 1.0f / 100);
    EXPECT_EQ(depth.KeyAt(5, 5), 0.0f);                  // nothing there
    EXPECT_TRUE(depth.Sees(20, 20, 1.0 / 100.5));       // on the facet, within the tolerance
    EXPECT_FALSE(depth.Sees(20, 20, 1.0 / 102.0));      // behind it
    EXPECT_TRUE(depth.Sees(5, 5, 1.0 / 1000.0));
    EXPECT_TRUE(depth.Sees(-3, 600, 0.0));              // outside the square nothing hides
    depth.AddTriangle({0, 0, 1.0}, {100, 100, 1.0}, {200, 200, 1.0});   // no area: nothing
    EXPECT_FLOAT_EQ(depth.KeyAt(30, 30), 1.0f / 100);
    depth.AddTriangle({-1e9, -1e9, 1.0}, {1e9, -1e9, 1.0}, {0, 1e9, 1.0});   // far larger than the square
    EXPECT_EQ(depth.KeyAt(499, 499), 1.0f);
}

TEST(DepthBuffer, AQuadInOnePassIsItsTwoTriangles)
{
    std::srand(11);
    auto any = [](double low, double high) { return low + (high - low) * (std::rand() / double(RAND_MAX)); };
    long long covered = 0, coverageDiffers = 0;
    for (int n = 0; n < 300; ++n) {
        const double col = any(-20, 520), row = any(-20, 520), size = any(1, n % 10 == 0 ? 400 : 12);
        ScreenPoint p[4];
        for (int k = 0; k < 4; ++k)   // round a centre, in turn, at a random radius: convex
            p[k] = {col + size * std::cos(k * 1.5708 + any(0, 1)) * any(0.5, 1.0),
                    row + size * std::sin(k * 1.5708 + any(0, 1)) * any(0.5, 1.0), any(0.002, 0.02)};
        DepthBuffer quad, halves;
        quad.Reset(true, 0.0);
        halves.Reset(true, 0.0);
        quad.AddQuad(p[0], p[1], p[2], p[3]);
        halves.AddTriangle(p[0], p[1], p[2]);
        halves.AddTriangle(p[0], p[2], p[3]);
        for (int r = 0; r < kCanvasSide; ++r)
            for (int c = 0; c < kCanvasSide; ++c) {
                const float a = quad.KeyAt(c, r), b = halves.KeyAt(c, r);
                covered += b > 0.0f;
                if ((a > 0.0f) != (b > 0.0f))
                    ++coverageDiffers;   // a pixel centre on an edge, decided by the last bits
                else   // stepped in single precision across boxes of up to hundreds of pixels
                    ASSERT_NEAR(a, b, 1e-4 * b) << n << " " << c << "," << r;
            }
    }
    ASSERT_GT(covered, 100000);
    EXPECT_LE(coverageDiffers, covered / 10000);
}


// A figure's square at its own side: the exact triangles land there, the square's fill does not
// (its rows are the window's), and the next Reset leaves no key of the last figure behind.
TEST(DepthBuffer, AFiguresSideTakesExactTrianglesAndIsClearedWhole)
{
    DepthBuffer depth;
    for (const bool perspective : {true, false}) {
        for (const int side : {137, 137, 700, 700, 137}) {
            depth.Reset(perspective, 0.0, side);
            const float empty = perspective ? 0.0f : -INFINITY;
            for (int r = 0; r < side; ++r)
                for (int c = 0; c < side; ++c)
                    ASSERT_EQ(depth.KeyAt(c, r), empty) << side << " " << c << "," << r;
            const double cols[] = {-5.0, side + 5.0, side / 2.0}, rows[] = {side / 3.0, side / 3.0, side + 9.0};
            const double keys[] = {0.5, 0.5, 0.5};
            depth.AddExactTriangle(cols, rows, keys);
            depth.AddTriangle({0, 0, 0.9}, {60, 0, 0.9}, {0, 60, 0.9});   // the window's fill: not at this side
            EXPECT_EQ(depth.KeyAt(side / 2, side - 1), 0.5f);
            EXPECT_EQ(depth.KeyAt(0, 0), empty);
            EXPECT_FALSE(depth.Sees(side / 2, side - 1, 0.25));
            EXPECT_TRUE(depth.Sees(side / 2, side, 0.25));   // below the square nothing hides
        }
    }
}
