// The session without a window: the recorded script ends on the window's view to the bit, and the
// actions that front ends share keep their rules (surface, keys before a surface, preview, turn).
#include "session/view_session.h"

#include <cmath>
#include <cstring>

#include <gtest/gtest.h>

#include "geometry/view_changes.h"
#include "recorded_view.h"
#include "surfaces/gallery.h"

namespace {

class SessionTest : public ::testing::Test {
protected:
    SurfaceRegistry surfaces;
    int             told = 0;   // frames the front end was told of
    ViewSession     session{surfaces, [this] { ++told; }};
    const BarState& zoomBar = session.Bar(ViewBar::Zoom);
    const BarState& distanceBar = session.Bar(ViewBar::Distance);
};

void Play(ViewSession& session, const ScriptEntry& entry)
{
    const BarStep up = entry.value < 0 ? BarStep::LineUp : BarStep::LineDown;
    const BarStep page = entry.value < 0 ? BarStep::PageUp : BarStep::PageDown;
    switch (entry.step) {
    case ScriptStep::Surface: session.ChooseSurface(entry.value); break;
    case ScriptStep::Drag: {
        IntPoint at{1000, 700};   // screen coordinates: only the travel turns the view
        session.PressButton(at);
        for (size_t i = 0; i + 1 < entry.travel.size(); i += 2)
            session.MoveCursor(at = {at.x + entry.travel[i], at.y + entry.travel[i + 1]});
        session.ReleaseButton();
        break;
    }
    case ScriptStep::ZoomArrow: session.Scroll(ViewBar::Zoom, up); break;
    case ScriptStep::ZoomPage: session.Scroll(ViewBar::Zoom, page); break;
    case ScriptStep::DistanceArrow: session.Scroll(ViewBar::Distance, up); break;
    case ScriptStep::DistancePage: session.Scroll(ViewBar::Distance, page); break;
    case ScriptStep::Wheel: session.Wheel(entry.value); break;
    case ScriptStep::ArrowKey:
    case ScriptStep::CtrlArrowKey: session.OrbitKey({entry.travel[0], entry.travel[1]}); break;
    case ScriptStep::PageKey: session.ScrollKey(ViewBar::Distance, up); break;
    case ScriptStep::ZoomKey: session.ScrollKey(ViewBar::Zoom, up); break;
    case ScriptStep::HomeKey: session.ResetKey(); break;
    }
}

TEST_F(SessionTest, TheRecordedScriptEndsOnTheWindowsViewToTheBit)
{
    LoadGallery(surfaces);   // "Otra:" lists the gallery after the eight
    for (const ScriptEntry& entry : kViewScript)
        Play(session, entry);
    std::string differences;
    EXPECT_TRUE(MatchesRecording(session.View(), differences)) << differences;
    EXPECT_EQ(session.FramesRendered(), kRecordedFrames);
    EXPECT_EQ(told, kRecordedFrames);
    EXPECT_EQ(zoomBar.position, 100 - BarPosition(session.View().zoom));
    EXPECT_EQ(distanceBar.position, BarPosition(EyeDistance(session.View())));
}

TEST_F(SessionTest, ADragOnALargerSquareIsScaledFromThePressWithoutDrift)
{
    // The drag a 500-pixel square is given: right 200 and up 50, in one move.
    session.ChooseSurface(kTorus);
    session.PressButton({1000, 700});
    session.MoveCursor({1200, 650});
    session.ReleaseButton();
    const ViewState reference = session.View();
    const DragState referenceDrag = session.Drag();

    // On a square of 800 the same turn takes 320 and 80 pixels, in eight moves, each handed on as
    // the cursor the 500 square would have had; the view ends the same to the bit.
    session.ChooseSurface(kTorus);
    session.SetSquareSide(800);
    session.PressButton({1000, 700});
    for (int k = 1; k <= 8; ++k)
        session.MoveCursor({1000 + 40 * k, 700 - 10 * k});
    session.ReleaseButton();
    EXPECT_EQ(session.Drag().current.x, referenceDrag.current.x);
    EXPECT_EQ(session.Drag().current.y, referenceDrag.current.y);
    ViewState stepped;   // the same path at 500: offsets 25, 50, ... from the press, rounded
    {
        ViewSession plain{surfaces, [] {}};
        plain.ChooseSurface(kTorus);
        plain.PressButton({1000, 700});
        for (int k = 1; k <= 8; ++k)
            plain.MoveCursor({1000 + 25 * k, 700 - static_cast<int>(std::lround(6.25 * k))});
        plain.ReleaseButton();
        stepped = plain.View();
    }
    EXPECT_EQ(std::memcmp(&session.View().eye, &stepped.eye, sizeof stepped.eye), 0);
    EXPECT_EQ(std::memcmp(&session.View().up, &stepped.up, sizeof stepped.up), 0);
    EXPECT_NE(std::memcmp(&session.View().eye, &reference.eye, sizeof reference.eye), 0);   // eight steps, not one

    // Three hundred one-pixel moves at 800 add up to 188 pixels at 500, not to 300 rounded one by one.
    session.PressButton({0, 0});
    for (int x = 1; x <= 300; ++x)
        session.MoveCursor({x, 0});
    EXPECT_EQ(session.Drag().current.x, 188);
    session.ReleaseButton();
    // At the frame's own side every cursor is handed on as it is.
    session.SetSquareSide(kCanvasSide);
    session.PressButton({3, 4});
    session.MoveCursor({10, 20});
    EXPECT_EQ(session.Drag().current.x, 10);
    EXPECT_EQ(session.Drag().current.y, 20);
}

TEST_F(SessionTest, KeysAndTheWheelWaitForTheFirstSurfaceButTheBarsDoNot)
{
    session.OrbitKey({10, 0});
    session.ScrollKey(ViewBar::Zoom, BarStep::LineUp);
    session.Wheel(240);
    session.ResetKey();
    session.TurnTick();
    EXPECT_EQ(session.FramesRendered(), 0);
    EXPECT_FALSE(session.HasFrame() || session.CanTurn());
    session.Scroll(ViewBar::Zoom, BarStep::LineUp);   // the bar's own message: a frame, as the window always drew
    EXPECT_EQ(session.FramesRendered(), 1);
    EXPECT_EQ(session.View().zoom, 21.0);
}

TEST_F(SessionTest, HalfNotchesOfTheWheelGatherIntoSteps)
{
    session.ChooseSurface(kTorus);
    session.Wheel(60);
    EXPECT_EQ(session.View().zoom, kZoomAtReset);
    session.Wheel(60);
    session.Wheel(-30);
    EXPECT_EQ(session.View().zoom, kZoomAtReset + 1);
    session.Wheel(-210);   // -240 gathered: two steps down
    EXPECT_EQ(session.View().zoom, kZoomAtReset - 1);
}

TEST_F(SessionTest, TheTurnTableTurnsAboutTheVerticalAndWaitsForAHeldButton)
{
    session.ChooseSurface(kSaddle);
    const ViewState start = session.View();
    session.PressButton({5, 5});
    session.TurnTick();
    EXPECT_EQ(session.FramesRendered(), 1) << "a held button pauses the turn";
    session.ReleaseButton();
    for (int k = 0; k < kTurnFrames / 4; ++k)
        session.TurnTick();
    EXPECT_EQ(session.FramesRendered(), 1 + kTurnFrames / 4);
    EXPECT_NEAR(VecDot(session.View().eye, start.eye), 0.0, 1e-6) << "a quarter turn";
    EXPECT_NEAR(EyeDistance(session.View()), EyeDistance(start), 1e-9);
}

TEST_F(SessionTest, APreviewStartsAtItsFirstViewAndEndsOnTheSurfaceBefore)
{
    session.ChooseSurface(kSphere);
    session.OrbitKey({10, 0});
    auto square = std::make_shared<Wireframe>(BuiltinWireframe(kSine));
    session.ShowPreview(square, true);
    EXPECT_EQ(session.View().surface, kPreviewSurface);
    EXPECT_EQ(&session.FrameWireframe(), square.get());
    ViewState fresh;
    ResetViewState(fresh);
    EXPECT_EQ(session.View().eye.x, fresh.eye.x);
    session.OrbitKey({10, 0});
    session.ShowPreview(square, false);   // a later preview keeps the view
    EXPECT_NE(session.View().eye.x, fresh.eye.x);
    session.EndPreview(kSphere, true);
    EXPECT_EQ(session.FrameSurface(), kSphere);
    EXPECT_EQ(session.View().eye.x, fresh.eye.x);
    session.ShowPreview(square, true);
    session.EndPreview(kSurfaceNone, false);   // there was nothing before: nothing again
    EXPECT_FALSE(session.HasFrame());
    EXPECT_EQ(session.FrameFileName(OutputFormat::Png), "vexilon.png");
}

TEST_F(SessionTest, AStyleChangeIsToldOnceAndMakesNoCameraStep)
{
    session.ChooseSurface(kTorus);
    FrameStyle style;
    EXPECT_FALSE(session.SetStyle(style));
    style.hiddenLines = true;
    EXPECT_TRUE(session.SetStyle(style));
    EXPECT_FALSE(session.SetStyle(style));
    EXPECT_EQ(session.FramesRendered(), 1);
    EXPECT_EQ(session.FrameFileName(OutputFormat::Gif), "toro.gif");
}

}   // namespace
