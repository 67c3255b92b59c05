// View coordinates to pixels: truncation toward zero, and a defined result for every double.
#include "render/pixel_mapping.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

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

}   // namespace
