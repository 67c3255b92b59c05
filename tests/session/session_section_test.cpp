// "Corte" in the session: the plane's axis, its slider over the surface's extent, and what keeps it.
#include "session/view_session.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "render/theme.h"

namespace {

TEST(SessionSection, TheSliderRunsOverTheShownSurfacesExtentAndTheStyleKeepsThePlane)
{
    SurfaceRegistry surfaces;
    ViewSession session{surfaces, [] {}};
    EXPECT_FALSE(session.Section());
    EXPECT_FALSE(session.SetSectionStep(10));   // off: no plane to move
    session.ChooseSurface(kSphere);
    ASSERT_TRUE(session.SetSectionAxis(SectionAxis::Z));
    EXPECT_FALSE(session.SetSectionAxis(SectionAxis::Z));
    const auto [least, greatest] = session.SectionRange();
    EXPECT_NEAR(least, -35.0, 1e-6);
    EXPECT_NEAR(greatest, 35.0, 1e-6);
    EXPECT_NEAR(session.Section()->value, 0.0, 1e-6);
    EXPECT_EQ(session.SectionStep(), kSectionSteps / 2);
    EXPECT_TRUE(session.SetSectionStep(kSectionSteps + 50));   // clamped to the top
    EXPECT_EQ(session.Section()->value, greatest);
    EXPECT_EQ(session.SectionStep(), kSectionSteps);

    FrameStyle hidden;   // the "Vista" group's style knows nothing of the section
    hidden.hiddenLines = true;
    EXPECT_TRUE(session.SetStyle(hidden));
    ASSERT_TRUE(session.Style().section);
    EXPECT_EQ(session.Style().section->value, greatest);
    std::vector<std::uint32_t> picture;
    const std::uint32_t accent = PackPixel(InfoOf(Theme::Pantalla).accent);
    session.SetSectionStep(kSectionSteps * 3 / 4);
    DrawShownFrame(session.FrameCamera(), session.FrameWireframe(), session.Style(), 200, picture);
    EXPECT_GT(std::count(picture.begin(), picture.end(), accent), 100);

    session.ResetKey();   // Home keeps the plane; another surface takes it through its middle
    EXPECT_EQ(session.SectionStep(), kSectionSteps * 3 / 4);
    session.ChooseSurface(kTorus);
    EXPECT_EQ(session.SectionStep(), kSectionSteps / 2);
    EXPECT_TRUE(session.SetSectionAxis(SectionAxis::X));
    EXPECT_EQ(session.Section()->axis, SectionAxis::X);
    EXPECT_TRUE(session.SetSectionAxis(std::nullopt));
    EXPECT_FALSE(session.SetSectionAxis(std::nullopt));
    EXPECT_EQ(session.SectionRange(), (std::pair{0.0, 0.0}));
}

}   // namespace
