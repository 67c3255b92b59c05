// View coordinates to pixels: truncation toward zero, and a defined result for every double.
#include "render/pixel_mapping.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <vector>

namespace {

TEST(PixelMapping, TruncatesTowardZero)
{
    EXPECT_EQ(PixelFromView({-0.5, 0.0, 0.0})->col, 249);   // 249.5
    EXPECT_EQ(PixelFromView({0.0, 0.5, 0.0})->row, 249);    // 249.5
    EXPECT_EQ(PixelFromView({-250.7, 0.0, 0.0})->col, 0);   // -0.7, not -1
    EXPECT_EQ(PixelFromView({-251.5, 0.0, 0.0})->col, -1);
    EXPECT_EQ(PixelFromView({0.0, 0.0, 0.0})->row, 250);
    EXPECT_EQ(PixelFromView({12.9 - 250.0, 0.0, 0.0})->col, 12);
}

TEST(PixelMapping, PassesPointsOutsideTheSquareUnclamped)
{
    const Pixel p = *PixelFromView({1000.0, 1000.0, 0.0});
    EXPECT_EQ(p.col, 1250);
    EXPECT_EQ(p.row, -750);
}

TEST(PixelMapping, SaturatesBeyondThirtyTwoBits)
{
    EXPECT_EQ(TruncateToPixel(2147483647.9), INT_MAX);
    EXPECT_EQ(TruncateToPixel(2147483648.0), INT_MAX);
    EXPECT_EQ(TruncateToPixel(1e300), INT_MAX);
    EXPECT_EQ(TruncateToPixel(-2147483648.9), INT_MIN);
    EXPECT_EQ(TruncateToPixel(-2147483649.0), INT_MIN);
    EXPECT_EQ(TruncateToPixel(-1e300), INT_MIN);
    EXPECT_EQ(TruncateToPixel(-2147483647.5), -2147483647);
}

TEST(PixelMapping, NonFiniteCoordinatesGiveNoPixel)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(PixelFromView({nan, 0.0, 0.0}));
    EXPECT_FALSE(PixelFromView({0.0, nan, 0.0}));
    EXPECT_FALSE(PixelFromView({inf, 0.0, 0.0}));
    EXPECT_FALSE(PixelFromView({0.0, -inf, 0.0}));
    EXPECT_TRUE(PixelFromView({0.0, 0.0, nan}));   // z carries no meaning
    EXPECT_EQ(TruncateToPixel(nan), 0);
}

// The arrays' way (several points at once where the machine can) against TruncateToPixel point by
// point: every pair of awkward values, at every position of a block of four and in the tail.
TEST(PixelMapping, ArraysGiveEachPointsPixel)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double values[] = {0.0, -0.0, 249.9, -0.7, -1.0, 499.99, 2147483647.9, 2147483648.0, -2147483648.9,
                             -2147483649.0, 1e300, -1e300, inf, -inf, nan, 4.9e-324, -2147483647.5};
    std::vector<double> cols, rows;
    for (const double c : values)
        for (const double r : values) {
            cols.push_back(c);
            rows.push_back(r);
        }
    for (size_t skip = 0; skip < 4; ++skip) {   // every alignment of the blocks, and every tail length
        const size_t n = cols.size() - skip;
        std::vector<int> outCols(n, -7), outRows(n, -7), finite(n, -7);
        PixelsFromView(cols.data() + skip, rows.data() + skip, n, outCols.data(), outRows.data(), finite.data());
        for (size_t i = 0; i < n; ++i) {
            const double c = cols[i + skip], r = rows[i + skip];
            SCOPED_TRACE(testing::Message() << "col " << c << ", row " << r);
            const bool ok = std::isfinite(c) && std::isfinite(r);
            EXPECT_EQ(finite[i], ok ? 1 : 0);
            EXPECT_EQ(outCols[i], ok ? TruncateToPixel(c) : 0);
            EXPECT_EQ(outRows[i], ok ? TruncateToPixel(r) : 0);
        }
    }
}

}   // namespace
