// The view controls without a window: reset, drag orbit and every rule of the Z and P bars.
#include "session/view_controls.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "geometry/view_changes.h"

namespace {

class ViewControlsTest : public ::testing::Test {
protected:
    ViewState    view;
    int          frames = 0;
    ViewState    atFrame;   // the view as the last frame saw it
    DragState    dragAtFrame;
    BarState     zoomAtFrame;
    ViewControls controls{view, [this] {
        ++frames, atFrame = view, dragAtFrame = controls.Drag(), zoomAtFrame = controls.Bar(ViewBar::Zoom);
    }};
    const BarState& zoomBar = controls.Bar(ViewBar::Zoom);
    const BarState& distanceBar = controls.Bar(ViewBar::Distance);

    void SetUp() override
    {
        controls.ResetView();
        UpdateCameraBasis(view);   // what the first frame does before any drag
    }
    void Zoom(BarStep step, int position = 0) { controls.Scroll(ViewBar::Zoom, step, position); }
    void Distance(BarStep step, int position = 0) { controls.Scroll(ViewBar::Distance, step, position); }
};

TEST(BarPosition, TruncatesTowardZeroAndIsDefinedEverywhere)
{
    EXPECT_EQ(BarPosition(299.99), 299);
    EXPECT_EQ(BarPosition(-0.75), 0);
    EXPECT_EQ(BarPosition(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(BarPosition(1e300), INT_MAX);
}

TEST(ResetView, PutsTheEyeOnTheDiagonalAndGivesBothBarsRangeAndPosition)
{
    ViewState view;
    view.surface = 5;
    int frames = 0;
    ViewControls controls(view, [&] { ++frames; });
    EXPECT_EQ(controls.Bar(ViewBar::Zoom), (BarState{0, 0, 0})) << "empty before the first surface";
    controls.ResetView();
    const double s = std::sqrt(30000.0);
    EXPECT_TRUE(view.eye.x == s && view.eye.y == s && view.eye.z == s);
    EXPECT_TRUE(view.up.x == 0.0 && view.up.z == 1.0 && view.target.x == 0.0);
    EXPECT_EQ(view.zoom, 50.0);
    EXPECT_EQ(controls.Bar(ViewBar::Distance), (BarState{20, 300, 300}));
    EXPECT_EQ(controls.Bar(ViewBar::Zoom), (BarState{0, 100, 50}));
    EXPECT_EQ(frames, 0) << "the surface button draws, not the reset";
    EXPECT_EQ(view.surface, 5);
}

TEST_F(ViewControlsTest, ZoomLineStepsMoveByOneHoldAtTheEndsAndTheInvertedBarFollows)
{
    Zoom(BarStep::LineUp);
    EXPECT_EQ(view.zoom, 51.0);
    EXPECT_EQ(zoomBar.position, 49);
    Zoom(BarStep::LineDown);
    Zoom(BarStep::LineDown);
    EXPECT_EQ(view.zoom, 49.0);
    EXPECT_EQ(zoomBar.position, 51);
    for (int i = 0; i < 60; ++i)
        Zoom(BarStep::LineUp);
    EXPECT_EQ(view.zoom, 100.0);
    EXPECT_EQ(zoomBar.position, 0);
    for (int i = 0; i < 120; ++i)
        Zoom(BarStep::LineDown);
    EXPECT_EQ(view.zoom, 0.0);
    EXPECT_EQ(zoomBar.position, 100);
    EXPECT_EQ(frames, 183);
    EXPECT_EQ(distanceBar, (BarState{20, 300, 300}));
}

TEST_F(ViewControlsTest, ZoomThumbSetsZoomFromTheTopOfTheBarBeforeTheFrame)
{
    Zoom(BarStep::ThumbTrack, 30);
    EXPECT_EQ(atFrame.zoom, 70.0);
    EXPECT_EQ(zoomAtFrame.position, 30);
    Zoom(BarStep::ThumbPosition, 0);
    EXPECT_EQ(view.zoom, 100.0);
    EXPECT_EQ(zoomBar.position, 0);
}

TEST_F(ViewControlsTest, PageClicksAndOtherStepsChangeNothingButStillDraw)
{
    const ViewState before = view;
    const BarState zoomBefore = zoomBar, distanceBefore = distanceBar;
    for (BarStep step : {BarStep::PageUp, BarStep::PageDown, BarStep::Top, BarStep::Bottom, BarStep::EndScroll}) {
        Zoom(step, 7);
        Distance(step, 77);
    }
    EXPECT_EQ(view.zoom, before.zoom);
    EXPECT_TRUE(view.eye.x == before.eye.x && view.eye.z == before.eye.z);
    EXPECT_TRUE(zoomBar == zoomBefore && distanceBar == distanceBefore);
    EXPECT_EQ(frames, 10);
}

TEST_F(ViewControlsTest, DistanceLineStepsMoveTheEyeByTwoAndHoldAtTwentyAndThreeHundred)
{
    const Vec3 direction = VecNormalize(view.eye);
    Distance(BarStep::LineUp);
    EXPECT_NEAR(EyeDistance(atFrame), 298.0, 1e-12);
    EXPECT_EQ(distanceBar.position, 298);
    EXPECT_NEAR(VecNormalize(view.eye).z, direction.z, 1e-15);
    Distance(BarStep::ThumbTrack, 21);
    Distance(BarStep::LineUp);
    EXPECT_NEAR(EyeDistance(view), 20.0, 1e-12);
    EXPECT_EQ(distanceBar.position, 20);
    Distance(BarStep::ThumbTrack, 299);
    Distance(BarStep::LineDown);
    EXPECT_NEAR(EyeDistance(view), 300.0, 1e-12);
    EXPECT_EQ(distanceBar.position, 300);
    SetEyeDistance(view, 100.75);   // between two positions: the bar shows the truncated distance
    Distance(BarStep::LineUp);
    EXPECT_EQ(distanceBar.position, 98);
}

TEST_F(ViewControlsTest, DistanceThumbPutsTheEyeAtThePositionAndTheBarHoldsItToItsRange)
{
    Distance(BarStep::ThumbTrack, 137);
    EXPECT_NEAR(EyeDistance(view), 137.0, 1e-12);
    EXPECT_EQ(distanceBar.position, 137);
    Distance(BarStep::ThumbTrack, 1000);   // a bar's thumb never leaves its range
    EXPECT_EQ(distanceBar.position, 300);
    EXPECT_EQ(zoomBar, (BarState{0, 100, 50}));
}

TEST_F(ViewControlsTest, AnEyeWithoutDirectionGivesADefinedBarPosition)
{
    view.eye = {0.0, 0.0, 0.0};   // the state before the first reset
    Distance(BarStep::LineUp);    // -2 is held at 20, times the direction of the zero vector: NaN
    EXPECT_TRUE(std::isnan(view.eye.x));
    EXPECT_EQ(distanceBar.position, 20);
    Distance(BarStep::LineDown);  // NaN passes the clamp: position 0, which the bar holds at its least
    EXPECT_EQ(distanceBar.position, 20);
}

TEST_F(ViewControlsTest, OnlyMovesBetweenPressAndReleaseTurnTheView)
{
    controls.OnMouseMove({500, 500});
    controls.OnLButtonDown({40, -7});
    EXPECT_TRUE(controls.Drag().dragging == 1 && controls.Drag().anchor.x == 40 && controls.Drag().anchor.y == -7);
    controls.OnLButtonUp();
    EXPECT_EQ(controls.Drag().dragging, 0);
    controls.OnMouseMove({400, 300});
    EXPECT_EQ(frames, 0);
    EXPECT_EQ(controls.Drag().current.x, 0);
}

TEST_F(ViewControlsTest, DragOfOneHundredPixelsSidewaysTurnsTheEyeByAFifthOfPi)
{
    const Vec3 before = view.eye, right = view.right, up = view.up;
    controls.OnLButtonDown({300, 200});
    controls.OnMouseMove({400, 200});
    EXPECT_NEAR(std::acos(VecDot(before, view.eye) / (300.0 * 300.0)), 0.2 * PiValue(), 1e-12);
    EXPECT_NEAR(EyeDistance(view), 300.0, 1e-12);
    EXPECT_LT(VecDot(view.eye, right), 0.0) << "the eye goes left, so the object turns with the cursor";
    EXPECT_NEAR(VecDot(view.eye, up), 0.0, 1e-9) << "a sideways drag turns about the screen's up";
    EXPECT_EQ(frames, 1);
    EXPECT_EQ(dragAtFrame.anchor.x, 300) << "the anchor moves after the frame";
    EXPECT_TRUE(controls.Drag().anchor.x == 400 && controls.Drag().current.x == 400);
    const ViewState sideways = view;
    controls.OnMouseMove({400, 240});   // screen y grows downwards: dragging down raises the eye
    EXPECT_GT(VecDot(view.eye, sideways.up), VecDot(sideways.eye, sideways.up));
}

TEST_F(ViewControlsTest, AStillMoveWhileDraggingRedrawsWithoutTurning)
{
    const Vec3 before = view.eye;
    controls.OnLButtonDown({10, 10});
    controls.OnMouseMove({10, 10});
    EXPECT_TRUE(view.eye.x == before.x && view.eye.y == before.y && view.eye.z == before.z);
    EXPECT_EQ(frames, 1);
}

}   // namespace
