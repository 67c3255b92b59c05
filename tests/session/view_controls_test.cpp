// The view controls without a window: reset, drag orbit and every rule of the Z and P bars.
#include "session/view_controls.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "geometry/view_changes.h"

namespace {

using Calls = std::vector<std::string>;

// A bar that keeps the calls made on it, in order, as "range 20 300" and "pos 300".
class RecordingBar final : public ScrollBar {
public:
    void SetRange(int low, int high) override { calls.push_back("range " + std::to_string(low) + " " + std::to_string(high)); }
    void SetPosition(int position) override
    {
        calls.push_back("pos " + std::to_string(position));
        last = position;
    }
    Calls calls;
    int   last = INT_MIN;
};

class ViewControlsTest : public ::testing::Test {
protected:
    ViewState    view;
    RecordingBar zoomBar, distanceBar;
    int          frames = 0;
    ViewState    atFrame;   // the view as the last frame saw it
    DragState    dragAtFrame;
    ViewControls controls{view, zoomBar, distanceBar, [this] { ++frames, atFrame = view, dragAtFrame = controls.Drag(); }};

    void SetUp() override
    {
        controls.ResetView();
        UpdateCameraBasis(view);   // what the first frame does before any drag
        zoomBar.calls.clear();
        distanceBar.calls.clear();
    }
    void Zoom(int code, int position = 0) { controls.OnVScroll(code, position, kZoomBarId); }
    void Distance(int code, int position = 0) { controls.OnVScroll(code, position, kDistanceBarId); }
};

TEST(BarPosition, TruncatesTowardZeroAndIsDefinedEverywhere)
{
    EXPECT_EQ(BarPosition(299.99), 299);
    EXPECT_EQ(BarPosition(-0.75), 0);
    EXPECT_EQ(BarPosition(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(BarPosition(1e300), INT_MAX);
}

TEST(ResetView, PutsTheEyeOnTheDiagonalAndGivesBothBarsRangeThenPosition)
{
    ViewState view;
    view.surface = 5;
    RecordingBar zoomBar, distanceBar;
    int frames = 0;
    ViewControls(view, zoomBar, distanceBar, [&] { ++frames; }).ResetView();
    const double s = std::sqrt(30000.0);
    EXPECT_TRUE(view.eye.x == s && view.eye.y == s && view.eye.z == s);
    EXPECT_TRUE(view.up.x == 0.0 && view.up.z == 1.0 && view.target.x == 0.0);
    EXPECT_EQ(view.zoom, 50.0);
    EXPECT_EQ(distanceBar.calls, (Calls{"range 20 300", "pos 300"}));
    EXPECT_EQ(zoomBar.calls, (Calls{"range 0 100", "pos 50"}));
    EXPECT_EQ(frames, 0) << "the surface button draws, not the reset";
    EXPECT_EQ(view.surface, 5);
}

TEST_F(ViewControlsTest, ZoomLineStepsMoveByOneHoldAtTheEndsAndTheInvertedBarFollows)
{
    Zoom(SB_LINEUP);
    EXPECT_EQ(view.zoom, 51.0);
    EXPECT_EQ(zoomBar.last, 49);
    Zoom(SB_LINEDOWN);
    Zoom(SB_LINEDOWN);
    EXPECT_EQ(view.zoom, 49.0);
    EXPECT_EQ(zoomBar.last, 51);
    for (int i = 0; i < 60; ++i)
        Zoom(SB_LINEUP);
    EXPECT_EQ(view.zoom, 100.0);
    EXPECT_EQ(zoomBar.last, 0);
    for (int i = 0; i < 120; ++i)
        Zoom(SB_LINEDOWN);
    EXPECT_EQ(view.zoom, 0.0);
    EXPECT_EQ(zoomBar.last, 100);
    EXPECT_EQ(zoomBar.calls.size(), 183u) << "the position is set at every step, clamped ones too";
    EXPECT_EQ(frames, 183);
    EXPECT_TRUE(distanceBar.calls.empty());
}

TEST_F(ViewControlsTest, ZoomThumbSetsZoomFromTheTopOfTheBarBeforeTheFrame)
{
    Zoom(SB_THUMBTRACK, 30);
    EXPECT_EQ(atFrame.zoom, 70.0);
    EXPECT_EQ(zoomBar.last, 30);
    Zoom(SB_THUMBPOSITION, 0);
    EXPECT_EQ(view.zoom, 100.0);
    EXPECT_EQ(zoomBar.last, 0);
}

TEST_F(ViewControlsTest, PageClicksOtherCodesAndOtherControlsChangeNothingButStillDraw)
{
    const ViewState before = view;
    for (int code : {SB_PAGEUP, SB_PAGEDOWN, SB_TOP, SB_BOTTOM, SB_ENDSCROLL, 99}) {
        Zoom(code, 7);
        Distance(code, 77);
    }
    controls.OnVScroll(SB_LINEUP, 0, kDistanceBarId + 1);   // another control
    EXPECT_EQ(view.zoom, before.zoom);
    EXPECT_TRUE(view.eye.x == before.eye.x && view.eye.z == before.eye.z);
    EXPECT_TRUE(zoomBar.calls.empty() && distanceBar.calls.empty());
    EXPECT_EQ(frames, 13);
}

TEST_F(ViewControlsTest, DistanceLineStepsMoveTheEyeByTwoAndHoldAtTwentyAndThreeHundred)
{
    const Vec3 direction = VecNormalize(view.eye);
    Distance(SB_LINEUP);
    EXPECT_NEAR(EyeDistance(atFrame), 298.0, 1e-12);
    EXPECT_EQ(distanceBar.last, 298);
    EXPECT_NEAR(VecNormalize(view.eye).z, direction.z, 1e-15);
    Distance(SB_THUMBTRACK, 21);
    Distance(SB_LINEUP);
    EXPECT_NEAR(EyeDistance(view), 20.0, 1e-12);
    EXPECT_EQ(distanceBar.last, 20);
    Distance(SB_THUMBTRACK, 299);
    Distance(SB_LINEDOWN);
    EXPECT_NEAR(EyeDistance(view), 300.0, 1e-12);
    EXPECT_EQ(distanceBar.last, 300);
    SetEyeDistance(view, 100.75);   // between two positions: the bar shows the truncated distance
    Distance(SB_LINEUP);
    EXPECT_EQ(distanceBar.last, 98);
}

TEST_F(ViewControlsTest, DistanceThumbPutsTheEyeAtThePosition)
{
    Distance(SB_THUMBTRACK, 137);
    EXPECT_NEAR(EyeDistance(view), 137.0, 1e-12);
    EXPECT_EQ(distanceBar.last, 137);
    EXPECT_TRUE(zoomBar.calls.empty());
}

TEST_F(ViewControlsTest, AnEyeWithoutDirectionGivesADefinedBarPosition)
{
    view.eye = {0.0, 0.0, 0.0};   // the state before the first reset
    Distance(SB_LINEUP);          // -2 is held at 20, times the direction of the zero vector: NaN
    EXPECT_TRUE(std::isnan(view.eye.x));
    EXPECT_EQ(distanceBar.last, 20);
    Distance(SB_LINEDOWN);        // NaN passes the clamp and reaches the bar
    EXPECT_EQ(distanceBar.last, 0);
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
