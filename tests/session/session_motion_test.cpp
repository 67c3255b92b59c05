// The session's lessons that move: sliders' parameters, a step keeping the view, "Animar"'s sweep,
// the turntable about z, and a saved animation's frames encoded while the view goes on.
#include "session/view_session.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>

#include "export/animation.h"
#include "export/gif_encoder.h"
#include "render/figure_title.h"
#include "session/presentation.h"
#include "surfaces/gallery.h"

namespace {

class SessionMotionTest : public ::testing::Test {
protected:
    SurfaceRegistry surfaces;
    ViewSession     session{surfaces, {}};

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


// A saved animation encoded a frame a call, as the page does between its events.
std::string EncodedStepwise(const AnimationFrames& frames, const FrameStyle& style, const std::function<void(int)>& between)
{
    char* data = nullptr;
    size_t size = 0;
    std::FILE* stream = open_memstream(&data, &size);
    bool finished = false;
    {
        AnimationEncoder encoder(stream, kGifFpsDefault, frames.count, frames.cameraOf, frames.wireOf, style, frames.labelOf);
        while (encoder.Done() < encoder.Count() && encoder.AddNext())
            between(encoder.Done());
        finished = encoder.Finish();
    }
    std::fclose(stream);
    std::string bytes = finished ? std::string(data, size) : std::string();
    std::free(data);
    return bytes;
}

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_F(SessionMotionTest, AnimationFramesOwnWhatTheyDrawWhileTheViewGoesOn)
{
    const std::string turnPath = ::testing::TempDir() + "session_turn.gif";
    const std::string sweepPath = ::testing::TempDir() + "session_sweep.gif";
    session.ChooseSurface(Gallery("plucker"));
    session.SetTurnAxis(TurnAxis::Z);
    ASSERT_TRUE(session.SetParameter("n", 3.0));   // the sampled surface the session drops on another choice
    std::string error;
    ASSERT_TRUE(session.SaveAnimation(turnPath, [](int) { return true; }, error)) << error;
    ASSERT_TRUE(session.SaveSweep(sweepPath, "n", [](int) { return true; }, error)) << error;
    std::optional<AnimationFrames> turn = session.AnimationOf("", error);
    std::optional<AnimationFrames> sweep = session.AnimationOf("n", error);
    ASSERT_TRUE(turn && sweep);
    EXPECT_EQ(turn->count, kTurnFrames);
    EXPECT_EQ(sweep->count, 2 * kSweepSteps);
    const FrameStyle style = session.Style();
    // Between frames the user goes on: other surfaces, turns, another axis.
    auto meanwhile = [&](int done) {
        session.ChooseSurface(done % 2 ? kTorus : Gallery("elipsoide"));
        session.TurnTick();
        session.SetTurnAxis(TurnAxis::Screen);
    };
    EXPECT_EQ(EncodedStepwise(*turn, style, meanwhile), FileBytes(turnPath));
    EXPECT_EQ(EncodedStepwise(*sweep, style, meanwhile), FileBytes(sweepPath));
    std::remove(turnPath.c_str());
    std::remove(sweepPath.c_str());

    EXPECT_FALSE(session.AnimationOf("q", error));
    EXPECT_NE(error.find("«q»"), std::string::npos);

    // Labelled, a sweep's frames carry "n = …" as --label draws it; a turn has no value to show.
    session.ChooseSurface(Gallery("plucker"));   // the view went on to other surfaces above
    const std::string labelledPath = ::testing::TempDir() + "session_labelled.gif";
    ASSERT_TRUE(session.SaveSweep(labelledPath, "n", [](int) { return true; }, error, true)) << error;
    std::optional<AnimationFrames> labelled = session.AnimationOf("n", error, true);
    ASSERT_TRUE(labelled && labelled->labelOf);
    EXPECT_FALSE(session.AnimationOf("n", error)->labelOf);
    EXPECT_FALSE(session.AnimationOf("", error, true)->labelOf);
    ASSERT_EQ(session.Parameters().size(), 1u);
    const ParameterControl n = session.Parameters()[0];
    EXPECT_EQ(labelled->labelOf(0), SweepLabel("n", n.least));
    EXPECT_EQ(labelled->labelOf(kSweepSteps), SweepLabel("n", n.greatest));
    const std::string labelledBytes = FileBytes(labelledPath);
    EXPECT_EQ(EncodedStepwise(*labelled, style, [](int) {}), labelledBytes);
    EXPECT_NE(labelledBytes, EncodedStepwise(*session.AnimationOf("n", error), style, [](int) {}));
    std::remove(labelledPath.c_str());
}

// The projector's rules, one for the window and the page.
TEST(Presentation, FullScreenTextGrowsWithTheScreenAndOnlyThePictureAndParametersStay)
{
    EXPECT_GE(FullScreenTextPixels(9, 1920, 1080), 18);
    EXPECT_EQ(FullScreenTextPixels(9, 1080, 1920), FullScreenTextPixels(9, 1920, 1080));   // upright, the same
    EXPECT_GT(FullScreenTextPixels(9, 3840, 2160), FullScreenTextPixels(9, 1920, 1080));
    EXPECT_GE(FullScreenTextPixels(9, 1024, 768), 12);
    EXPECT_EQ(FullScreenTextPixels(16, 1280, 720), 16);   // never below the front end's own
    for (const int side : {-5, 0, 1 << 30, std::numeric_limits<int>::max()})
        EXPECT_LE(FullScreenTextPixels(9, side, side), kLargestTextPixels);
    EXPECT_EQ(FullScreenTextPixels(9, 0, 0), 9);
    int kept = 0;
    for (int group = 0; group <= static_cast<int>(ControlGroup::Window); ++group)
        kept += ShownInPresentation(static_cast<ControlGroup>(group));
    EXPECT_EQ(kept, 2);
    EXPECT_TRUE(ShownInPresentation(ControlGroup::Picture) && ShownInPresentation(ControlGroup::Parameters));
}

}   // namespace
