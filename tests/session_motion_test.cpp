// The session's lessons that move: sliders' parameters, a step keeping the view, "Animar"'s sweep,
// and the turntable about z.
#include "session/view_session.h"

#include <gtest/gtest.h>

#include <cmath>

#include "surfaces/gallery.h"

namespace {

class StoredBar final : public ScrollBar {
public:
    void SetRange(int, int) override {}
    void SetPosition(int) override {}
};

class SessionMotionTest : public ::testing::Test {
protected:
    SurfaceRegistry surfaces;
    StoredBar       zoomBar, distanceBar;
    ViewSession     session{surfaces, zoomBar, distanceBar, {}};

    SurfaceKind Gallery(const char* id)
    {
        LoadGallery(surfaces);
        return surfaces.FindId(id)->number;
    }
};

TEST_F(SessionMotionTest, ParametersComeWithTheirRangesAndASliderStepKeepsTheView)
{
    session.ChooseSurface(kTorus);
    EXPECT_TRUE(session.Parameters().empty());
    EXPECT_FALSE(session.SetParameter("r", 1.0));
    session.ChooseSurface(Gallery("elipsoide"));
    const std::vector<ParameterControl> controls = session.Parameters();
    ASSERT_EQ(controls.size(), 3u);
    EXPECT_EQ(controls[0].name, "a");   // no range given: from 0 to twice the value
    EXPECT_EQ(controls[0].greatest, 6.0);
    EXPECT_EQ(controls[2].least, 0.2);  // the file's range
    EXPECT_EQ(controls[2].greatest, 4.0);

    session.OrbitKey({40, -20});
    const ViewState view = session.View();
    const Wireframe before = session.FrameWireframe();
    ASSERT_TRUE(session.SetParameter("c", 3.5));
    EXPECT_EQ(session.View().eye.x, view.eye.x);
    EXPECT_EQ(session.View().eye.y, view.eye.y);
    EXPECT_EQ(session.View().eye.z, view.eye.z);
    EXPECT_EQ(session.View().zoom, view.zoom);
    EXPECT_NE(session.FrameWireframe().zs, before.zs);
    EXPECT_EQ(session.Parameters()[2].value, 3.5);
    EXPECT_FALSE(session.SetParameter("q", 1.0));
    session.ResetKey();                           // Home keeps the values
    EXPECT_EQ(session.Parameters()[2].value, 3.5);
    session.ChooseSurface(kTorus);
    session.ChooseSurface(Gallery("elipsoide"));  // another surface and back: the file's values
    EXPECT_EQ(session.Parameters()[2].value, 1.5);
}

TEST_F(SessionMotionTest, AnimateSweepsToAnEndAndTurnsRound)
{
    session.ChooseSurface(Gallery("plucker"));   // n from 1 to 6, at 2
    double last = session.Parameters()[0].value, highest = last;
    bool cameDown = false;
    for (int tick = 0; tick < 2 * kSweepSteps; ++tick) {
        session.SweepTick("n");
        const double n = session.Parameters()[0].value;
        highest = std::max(highest, n);
        cameDown = cameDown || n < last;
        last = n;
        EXPECT_GE(n, 1.0);
        EXPECT_LE(n, 6.0);
    }
    EXPECT_EQ(highest, 6.0);   // the end reached exactly
    EXPECT_TRUE(cameDown);
}

TEST_F(SessionMotionTest, TheTurntableAboutZKeepsTheEyesHeight)
{
    session.ChooseSurface(kTorus);
    const double height = session.View().eye.z;
    for (int tick = 0; tick < 50; ++tick)
        session.TurnTick();
    EXPECT_GT(std::abs(session.View().eye.z - height), 1.0);   // about the picture's vertical: it tilts

    session.ChooseSurface(kTorus);
    session.SetTurnAxis(TurnAxis::Z);
    for (int tick = 0; tick < 50; ++tick)
        session.TurnTick();
    EXPECT_NEAR(session.View().eye.z, height, 1e-9);
    EXPECT_GT(std::abs(session.View().eye.x - height), 1.0);   // yet it went round
}

}   // namespace
