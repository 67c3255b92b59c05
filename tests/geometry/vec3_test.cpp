// Vector arithmetic: operand order, handedness, summation order, NaN without a trap.
#include "geometry/vec3.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(Vec3, SubtractsTheSecondOperandFromTheFirst)
{
    const Vec3 d = VecSub({1, 2, 3}, {0, 0, 1});
    EXPECT_EQ(d.x, 1.0);
    EXPECT_EQ(d.y, 2.0);
    EXPECT_EQ(d.z, 2.0);
}

TEST(Vec3, CrossProductIsRightHanded)
{
    const Vec3 z = VecCross({1, 0, 0}, {0, 1, 0});
    EXPECT_EQ(z.x, 0.0);
    EXPECT_EQ(z.y, 0.0);
    EXPECT_EQ(z.z, 1.0);
    EXPECT_EQ(VecCross({0, 1, 0}, {1, 0, 0}).z, -1.0);
    const Vec3 x = VecCross({0, 1, 0}, {0, 0, 1});
    EXPECT_EQ(x.x, 1.0);
}

TEST(Vec3, DotSumsZAndYBeforeX)
{
    // With x first, 1e16 + 1 + 1 would lose both ones; z and y first keeps them.
    const Vec3 a{1e16, 1.0, 1.0}, ones{1.0, 1.0, 1.0};
    EXPECT_EQ(VecDot(a, ones), (1.0 + 1.0) + 1e16);
    EXPECT_EQ(VecDot(a, ones), 1e16 + 2.0);
    EXPECT_EQ(VecLength({3, 4, 12}), 13.0);
}

TEST(Vec3, ScaleAndAddKeepComponentsApart)
{
    const Vec3 s = VecScale(2.0, {1, -2, 3});
    EXPECT_EQ(s.x, 2.0);
    EXPECT_EQ(s.y, -4.0);
    EXPECT_EQ(s.z, 6.0);
    const Vec3 sum = VecAdd({1, 2, 3}, {10, 20, 30});
    EXPECT_EQ(sum.x, 11.0);
    EXPECT_EQ(sum.z, 33.0);
}

TEST(Vec3, LengthOfTheResetEyeIsThreeHundred)
{
    const double s = std::sqrt(30000.0);
    EXPECT_DOUBLE_EQ(VecLength({s, s, s}), 300.0);   // within four ulps
}

TEST(Vec3, NormalizingZeroGivesNaNs)
{
    const Vec3 n = VecNormalize({0, 0, 0});
    EXPECT_TRUE(std::isnan(n.x));
    EXPECT_TRUE(std::isnan(n.y));
    EXPECT_TRUE(std::isnan(n.z));
}

TEST(Vec3, NormalizeDividesEachComponent)
{
    const Vec3 n = VecNormalize({0, 3, 4});
    EXPECT_EQ(n.y, 3.0 / 5.0);
    EXPECT_EQ(n.z, 4.0 / 5.0);
}

TEST(Vec3, PiIsTheNearestDouble)
{
    EXPECT_EQ(PiValue(), 3.141592653589793);
}

}   // namespace
