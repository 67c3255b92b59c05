// The view controls without a window: reset, drag orbit and every rule of the Z and P bars.
#include "ui/view_controls.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "geometry/vec3.h"
#include "geometry/view_changes.h"
#include "ui/resource.h"

namespace {

// A bar that keeps the calls made on it, in order, as "range 20 300" and "pos 300".
class RecordingBar final : public ScrollBar {
public:
    void SetRange(int minimum, int maximum) override
    {
        calls.push_back("range " + std::to_string(minimum) + " " + std::to_string(maximum));
    }
    void SetPosition(int position) override
    {
        calls.push_back("pos " + std::to_string(position));
        last = position;
    }
    std::vector<std::string> calls;
    int last = INT_MIN;
};

class ViewControlsTest : public ::testing::Test {
protected:
    ViewState    view;
    RecordingBar zoomBar, distanceBar;
    int          frames = 0;
    ViewState    atFrame;   // the view as the last frame saw it
    ViewControls controls{view, zoomBar, distanceBar, [this] {
                              ++frames;
                              atFrame = view;
                          }};

    void ResetAndForget()
    {
        controls.ResetView();
        UpdateCameraBasis(view);   // what the first frame does before any drag
        zoomBar.calls.clear();
        distanceBar.calls.clear();
    }
    void Zoom(int code, int position = 0) { controls.OnVScroll(code, position, IDC_SCROLL_ZOOM); }
    void Distance(int code, int position = 0) { controls.OnVScroll(code, position, IDC_SCROLL_DISTANCE); }
};

using Calls = std::vector<std::string>;

TEST(BarPosition, TruncatesTowardZeroAndIsDefinedEverywhere)
{
    EXPECT_EQ(BarPosition(299.99), 299);
    EXPECT_EQ(BarPosition(-0.75), 0);
    EXPECT_EQ(BarPosition(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(BarPosition(1e300), INT_MAX);
    EXPECT_EQ(BarPosition(-1e300), INT_MIN);
}

TEST_F(ViewControlsTest, ResetPutsTheEyeOnTheDiagonalAndGivesBothBarsRangeAndPosition)
{
    view.surface = 5;
    view.dragging = 1;
    controls.ResetView();
    const double s = std::sqrt(30000.0);
    EXPECT_EQ(view.eye.x, s);
    EXPECT_EQ(view.eye.y, s);
    EXPECT_EQ(view.eye.z, s);
    EXPECT_EQ(view.up.z, 1.0);
    EXPECT_EQ(view.up.x, 0.0);
    EXPECT_EQ(view.target.x, 0.0);
    EXPECT_EQ(view.zoom, 50.0);
    EXPECT_EQ(distanceBar.calls, (Calls{"range 20 300", "pos 300"}));
    EXPECT_EQ(zoomBar.calls, (Calls{"range 0 100", "pos 50"}));
    EXPECT_EQ(frames, 0) << "the surface button draws, not the reset";
    EXPECT_EQ(view.surface, 5);
    EXPECT_EQ(view.dragging, 1);
}

TEST_F(ViewControlsTest, ResetUndoesZoomDistanceAndOrbit)
{
    ResetAndForget();
    const Vec3 eye = view.eye;
    Zoom(SB_LINEUP);
    Distance(SB_THUMBTRACK, 40);
    controls.OnLButtonDown({0, 0});
    controls.OnMouseMove({120, -30});
    ASSERT_NE(view.eye.x, eye.x);
    controls.ResetView();
    EXPECT_EQ(view.eye.x, eye.x);
    EXPECT_EQ(view.eye.y, eye.y);
    EXPECT_EQ(view.eye.z, eye.z);
    EXPECT_EQ(view.zoom, 50.0);
    EXPECT_EQ(distanceBar.last, 300);
    EXPECT_EQ(zoomBar.last, 50);
}

TEST_F(ViewControlsTest, ZoomLineStepsMoveByOneAndTheInvertedBarFollows)
{
    ResetAndForget();
    Zoom(SB_LINEUP);
    EXPECT_EQ(view.zoom, 51.0);
    EXPECT_EQ(zoomBar.last, 49);
    Zoom(SB_LINEDOWN);
    Zoom(SB_LINEDOWN);
    EXPECT_EQ(view.zoom, 49.0);
    EXPECT_EQ(zoomBar.last, 51);
    EXPECT_EQ(frames, 3);
    EXPECT_TRUE(distanceBar.calls.empty());
}

TEST_F(ViewControlsTest, ZoomLineStepsStopAtZeroAndAtOneHundred)
{
    ResetAndForget();
    for (int i = 0; i < 60; ++i)
        Zoom(SB_LINEUP);
    EXPECT_EQ(view.zoom, 100.0);
    EXPECT_EQ(zoomBar.last, 0);
    EXPECT_EQ(zoomBar.calls.size(), 60u) << "the position is set again at the clamp";
    for (int i = 0; i < 120; ++i)
        Zoom(SB_LINEDOWN);
    EXPECT_EQ(view.zoom, 0.0);
    EXPECT_EQ(zoomBar.last, 100);
}

TEST_F(ViewControlsTest, ZoomThumbTrackAndPositionSetZoomFromTheTopOfTheBar)
{
    ResetAndForget();
    Zoom(SB_THUMBTRACK, 30);
    EXPECT_EQ(view.zoom, 70.0);
    EXPECT_EQ(atFrame.zoom, 70.0) << "the frame sees the new zoom";
    EXPECT_EQ(zoomBar.last, 30);
    Zoom(SB_THUMBPOSITION, 0);
    EXPECT_EQ(view.zoom, 100.0);
    EXPECT_EQ(zoomBar.last, 0);
    Zoom(SB_THUMBPOSITION, 100);
    EXPECT_EQ(view.zoom, 0.0);
    EXPECT_EQ(zoomBar.last, 100);
}

TEST_F(ViewControlsTest, PageClicksAndOtherCodesChangeNothingButStillDraw)
{
    ResetAndForget();
    const ViewState before = view;
    for (int code : {SB_PAGEUP, SB_PAGEDOWN, SB_TOP, SB_BOTTOM, SB_ENDSCROLL, -1, 99}) {
        Zoom(code, 7);
        Distance(code, 77);
    }
    EXPECT_EQ(view.zoom, before.zoom);
    EXPECT_EQ(view.eye.x, before.eye.x);
    EXPECT_EQ(view.eye.z, before.eye.z);
    EXPECT_TRUE(zoomBar.calls.empty());
    EXPECT_TRUE(distanceBar.calls.empty());
    EXPECT_EQ(frames, 14);
}

TEST_F(ViewControlsTest, MessagesOfAnotherControlOnlyDraw)
{
    ResetAndForget();
    controls.OnVScroll(SB_LINEUP, 0, 1234);
    controls.OnVScroll(SB_THUMBTRACK, 40, IDC_SURFACE_TORUS);
    EXPECT_EQ(view.zoom, 50.0);
    EXPECT_EQ(EyeDistance(view), 300.0);
    EXPECT_TRUE(zoomBar.calls.empty());
    EXPECT_TRUE(distanceBar.calls.empty());
    EXPECT_EQ(frames, 2);
}

TEST_F(ViewControlsTest, DistanceLineStepsMoveTheEyeByTwoAlongItsDirection)
{
    ResetAndForget();
    const Vec3 direction = VecNormalize(view.eye);
    Distance(SB_LINEUP);
    EXPECT_NEAR(EyeDistance(view), 298.0, 1e-12);
    EXPECT_EQ(distanceBar.last, 298);
    const Vec3 after = VecNormalize(view.eye);
    EXPECT_NEAR(after.x, direction.x, 1e-15);
    EXPECT_NEAR(after.z, direction.z, 1e-15);
    Distance(SB_LINEDOWN);
    EXPECT_NEAR(EyeDistance(view), 300.0, 1e-12);
    EXPECT_EQ(atFrame.eye.x, view.eye.x) << "the frame sees the moved eye";
}

TEST_F(ViewControlsTest, DistanceLineStepsStopAtTwentyAndAtThreeHundred)
{
    ResetAndForget();
    Distance(SB_THUMBTRACK, 21);
    Distance(SB_LINEUP);
    EXPECT_NEAR(EyeDistance(view), 20.0, 1e-12);
    EXPECT_EQ(distanceBar.last, 20);
    Distance(SB_LINEUP);
    EXPECT_NEAR(EyeDistance(view), 20.0, 1e-12);
    EXPECT_EQ(distanceBar.last, 20);
    Distance(SB_THUMBTRACK, 299);
    Distance(SB_LINEDOWN);
    EXPECT_NEAR(EyeDistance(view), 300.0, 1e-12);
    EXPECT_EQ(distanceBar.last, 300);
}

TEST_F(ViewControlsTest, DistanceBarShowsTheTruncatedDistance)
{
    ResetAndForget();
    Distance(SB_THUMBPOSITION, 100);
    SetEyeDistance(view, 100.75);   // a distance between two positions
    Distance(SB_LINEUP);
    EXPECT_NEAR(EyeDistance(view), 98.75, 1e-12);
    EXPECT_EQ(distanceBar.last, 98);
}

TEST_F(ViewControlsTest, DistanceThumbPutsTheEyeAtThePosition)
{
    ResetAndForget();
    Distance(SB_THUMBTRACK, 137);
    EXPECT_NEAR(EyeDistance(view), 137.0, 1e-12);
    EXPECT_EQ(distanceBar.last, 137);
    Distance(SB_THUMBPOSITION, 20);
    EXPECT_NEAR(EyeDistance(view), 20.0, 1e-12);
    EXPECT_EQ(distanceBar.last, 20);
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
    EXPECT_EQ(frames, 2);
}

TEST_F(ViewControlsTest, MovesWithoutThePressedButtonDoNothing)
{
    ResetAndForget();
    const ViewState before = view;
    controls.OnMouseMove({500, 500});
    EXPECT_EQ(frames, 0);
    EXPECT_EQ(view.eye.x, before.eye.x);
    EXPECT_EQ(view.current.x, 0);
}

TEST_F(ViewControlsTest, PressSetsTheAnchorAndReleaseEndsTheDrag)
{
    ResetAndForget();
    controls.OnLButtonDown({40, -7});
    EXPECT_EQ(view.dragging, 1);
    EXPECT_EQ(view.anchor.x, 40);
    EXPECT_EQ(view.anchor.y, -7);
    controls.OnLButtonUp();
    EXPECT_EQ(view.dragging, 0);
    controls.OnMouseMove({400, 300});
    EXPECT_EQ(frames, 0);
}

TEST_F(ViewControlsTest, DragOfOneHundredPixelsSidewaysTurnsTheEyeByAFifthOfPi)
{
    ResetAndForget();
    const Vec3 before = view.eye;
    const Vec3 right = view.right;
    const Vec3 up = view.up;
    controls.OnLButtonDown({300, 200});
    controls.OnMouseMove({400, 200});
    const double cosine = VecDot(before, view.eye) / (300.0 * 300.0);
    EXPECT_NEAR(std::acos(cosine), 0.2 * PiValue(), 1e-12);
    EXPECT_NEAR(EyeDistance(view), 300.0, 1e-12);
    EXPECT_LT(VecDot(view.eye, right), 0.0) << "the eye goes left, so the object turns with the cursor";
    EXPECT_NEAR(VecDot(view.eye, up), 0.0, 1e-9) << "a sideways drag turns about the screen's up";
    EXPECT_EQ(frames, 1);
    EXPECT_EQ(atFrame.anchor.x, 300) << "the anchor moves after the frame";
    EXPECT_EQ(view.anchor.x, 400);
    EXPECT_EQ(view.current.x, 400);
}

TEST_F(ViewControlsTest, DragUpwardsRaisesTheEye)
{
    ResetAndForget();
    const double height = view.eye.z;
    controls.OnLButtonDown({300, 200});
    controls.OnMouseMove({300, 240});   // screen y grows downwards; dy = +40 turns toward up
    EXPECT_GT(view.eye.z, height);
    EXPECT_NEAR(EyeDistance(view), 300.0, 1e-12);
}

TEST_F(ViewControlsTest, AStillMoveWhileDraggingRedrawsWithoutTurning)
{
    ResetAndForget();
    const Vec3 before = view.eye;
    controls.OnLButtonDown({10, 10});
    controls.OnMouseMove({10, 10});
    EXPECT_EQ(view.eye.x, before.x);
    EXPECT_EQ(view.eye.y, before.y);
    EXPECT_EQ(view.eye.z, before.z);
    EXPECT_EQ(frames, 1);
}

TEST_F(ViewControlsTest, ConsecutiveStepsStartWhereThePreviousEnded)
{
    ResetAndForget();
    controls.OnLButtonDown({0, 0});
    controls.OnMouseMove({50, 0});
    UpdateCameraBasis(view);
    ViewState oneStep = view;
    controls.OnMouseMove({50, 0});   // no travel since the last step
    EXPECT_EQ(view.eye.x, oneStep.eye.x);
    controls.OnMouseMove({100, 0});
    OrbitEye(oneStep, {50, 0}, {100, 0});
    EXPECT_EQ(view.eye.x, oneStep.eye.x);
    EXPECT_EQ(view.eye.y, oneStep.eye.y);
    EXPECT_EQ(view.eye.z, oneStep.eye.z);
}

}   // namespace
