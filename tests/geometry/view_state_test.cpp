// The camera basis after a reset, the projection, and the view changes of the controls.
#include "geometry/view_changes.h"
#include "geometry/view_state.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

ViewState FreshView()
{
    ViewState view;
    ResetViewState(view);
    UpdateCameraBasis(view);
    return view;
}

void ExpectNear(Vec3 actual, Vec3 expected, double tolerance)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

TEST(ViewState, StartsWithZoomTwentyAndNoSurface)
{
    const ViewState view;
    EXPECT_EQ(view.zoom, 20.0);
    EXPECT_EQ(view.surface, 0);
    EXPECT_EQ(view.up.z, 0.0);
}

TEST(CameraBasis, AfterResetLooksDownTheDiagonal)
{
    const ViewState view = FreshView();
    const double s = std::sqrt(30000.0);
    EXPECT_EQ(view.eye.x, s);
    EXPECT_EQ(view.zoom, 50.0);
    ExpectNear(view.right, VecNormalize({-1, 1, 0}), 1e-15);
    ExpectNear(view.up, VecNormalize({-1, -1, 2}), 1e-15);
    EXPECT_NEAR(VecLength(view.planePoint), 280.0, 1e-12);
    ExpectNear(VecNormalize(view.planePoint), VecNormalize(view.eye), 1e-15);
    EXPECT_EQ(view.normal.x, s);   // eye minus target, not normalised
}

TEST(CameraBasis, EyeAtTheTargetGivesNaNs)
{
    ViewState view = FreshView();
    view.eye = {0, 0, 0};
    UpdateCameraBasis(view);
    EXPECT_TRUE(std::isnan(view.up.x));
    EXPECT_TRUE(std::isnan(view.right.y));
}

TEST(Projection, TargetLandsAtTheCentre)
{
    ViewState view = FreshView();
    const Vec3 p = ProjectPoint(view, {0, 0, 0});
    EXPECT_NEAR(p.x, 0.0, 1e-9);
    EXPECT_NEAR(p.y, 0.0, 1e-9);
}

TEST(Projection, RightAndUpOfTheScreenAreRightAndUp)
{
    ViewState view = FreshView();
    const Vec3 onRight = ProjectPoint(view, VecScale(10.0, view.right));
    const Vec3 onUp = ProjectPoint(view, VecScale(10.0, view.up));
    EXPECT_GT(onRight.x, 0.0);
    EXPECT_NEAR(onRight.y, 0.0, 1e-9);
    EXPECT_GT(onUp.y, 0.0);
    // Perspective: a point 10 units off the axis at depth 300 shows 10 * 20 / 300 * zoom.
    EXPECT_NEAR(onRight.x, 10.0 * 20.0 / 300.0 * 50.0, 1e-9);
}

TEST(Projection, DoublingTheZoomDoublesTheCoordinates)
{
    ViewState view = FreshView();
    const Vec3 p{12, -7, 30};
    const Vec3 a = ProjectPoint(view, p);
    view.zoom = 100.0;
    const Vec3 b = ProjectPoint(view, p);
    EXPECT_NEAR(b.x, 2.0 * a.x, 1e-9);
    EXPECT_NEAR(b.y, 2.0 * a.y, 1e-9);
    EXPECT_EQ(view.planeHit.x, VecScale(100.0, IntersectLinePlane(p, VecSub(view.eye, p), view.planePoint, view.normal)).x);
}

TEST(Projection, LineParallelToThePlaneGivesNoFiniteHit)
{
    const Vec3 hit = IntersectLinePlane({0, 0, 0}, {1, 0, 0}, {0, 0, 5}, {0, 0, 1});
    EXPECT_FALSE(std::isfinite(hit.x));
}

TEST(Orbit, HundredPixelsSidewaysTurnsTheEyeByAFifthOfPi)
{
    ViewState view = FreshView();
    const Vec3 before = view.eye;
    OrbitEye(view, {400, 300}, {500, 300});
    const double cosine = VecDot(VecNormalize(before), VecNormalize(view.eye));
    EXPECT_NEAR(std::acos(cosine), 0.2 * PiValue(), 1e-9);
    EXPECT_NEAR(VecLength(view.eye), 300.0, 1e-9);
    // Dragging right moves the eye to the left of the old view, turning the object right.
    EXPECT_LT(VecDot(VecSub(view.eye, before), view.right), 0.0);
}

TEST(Orbit, DraggingDownRaisesTheEye)
{
    ViewState view = FreshView();
    const double before = view.eye.z;
    OrbitEye(view, {0, 0}, {0, 10});
    EXPECT_GT(view.eye.z, before);
}

TEST(Orbit, NoTravelLeavesTheEyeExactly)
{
    ViewState view = FreshView();
    const Vec3 before = view.eye;
    OrbitEye(view, {7, 9}, {7, 9});
    EXPECT_EQ(view.eye.x, before.x);
    EXPECT_EQ(view.eye.y, before.y);
    EXPECT_EQ(view.eye.z, before.z);
}

TEST(Orbit, ExtremeCursorCoordinatesDoNotOverflow)
{
    ViewState view = FreshView();
    OrbitEye(view, {-2147483647 - 1, 0}, {2147483647, 0});
    EXPECT_TRUE(std::isfinite(view.eye.x));
    EXPECT_NEAR(VecLength(view.eye), 300.0, 1e-9);
}

TEST(Turn, QuarterTurnAboutAnAxisThroughACentreIsRightHanded)
{
    // About +z through (1, 1, 5): the point one unit along +x from the axis goes to +y.
    ExpectNear(TurnAbout({2, 1, 7}, {1, 1, 5}, {0, 0, 3}, 0.5 * PiValue()), {1, 2, 7}, 1e-15);
    // Along a slanted axis: the part along it stays, the distance from it stays.
    const Vec3 axis{1, 2, 2}, p{5, -1, 3};
    const Vec3 q = TurnAbout(p, {}, axis, 1.0);
    EXPECT_NEAR(VecDot(q, axis), VecDot(p, axis), 1e-12);
    EXPECT_NEAR(VecLength(q), VecLength(p), 1e-12);
    EXPECT_GT(VecLength(VecSub(q, p)), 1.0);
    ExpectNear(TurnAbout(q, {}, axis, -1.0), p, 1e-12);
}

TEST(Turn, EyeTurnsAboutTheTargetAndAZeroAngleLeavesItExactly)
{
    ViewState view = FreshView();
    view.target = {0.1, 0.2, 0.3};   // (eye - target) + target is not the eye to the bit here
    UpdateCameraBasis(view);
    const Vec3 before = view.eye;
    TurnEye(view, view.up, 0.0);
    EXPECT_EQ(view.eye.x, before.x);
    EXPECT_EQ(view.eye.y, before.y);
    EXPECT_EQ(view.eye.z, before.z);
    TurnEye(view, view.up, PiValue());   // half a turn about up: the eye opposite across the up line
    const Vec3 across = VecSub(before, view.target), now = VecSub(view.eye, view.target);
    EXPECT_NEAR(VecDot(now, view.up), VecDot(across, view.up), 1e-9);
    EXPECT_NEAR(VecLength(now), VecLength(across), 1e-9);
    EXPECT_NEAR(VecDot(now, view.right), 0.0, 1e-9);
    EXPECT_LT(VecDot(VecSub(now, VecScale(VecDot(now, view.up), view.up)), VecNormalize(view.normal)), -1.0);
}

TEST(EyeDistance, IsSetAlongTheCurrentDirection)
{
    ViewState view = FreshView();
    SetEyeDistance(view, 20.0);
    EXPECT_NEAR(EyeDistance(view), 20.0, 1e-12);
    EXPECT_NEAR(view.eye.x, view.eye.z, 1e-12);
    SetZoom(view, 73.0);
    EXPECT_EQ(view.zoom, 73.0);
}

}   // namespace
