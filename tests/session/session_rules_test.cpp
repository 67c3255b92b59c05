// The rules every front end takes from the session: a parameter slider's positions, the width a
// theme brings, what a trace refuses and the names a saved picture is given.
#include <gtest/gtest.h>

#include "session/image_names.h"
#include "session/style_rules.h"
#include "session/parameter_control.h"

namespace {

TEST(SliderPositions, EndsAreExactAndEveryPositionComesBackFromItsValue)
{
    for (const ParameterControl& control : {ParameterControl{"a", 0.0, 2.0, 1.0}, ParameterControl{"r", -0.3, 0.7, 0.0},
                                           ParameterControl{"k", 1e-3, 12.5, 2.0}}) {
        EXPECT_EQ(SliderValue(control, 0), control.least);
        EXPECT_EQ(SliderValue(control, kSliderSteps), control.greatest) << "not least + 1000 * step, which may miss it";
        for (int position = 0; position <= kSliderSteps; ++position)
            ASSERT_EQ(SliderPosition(control, SliderValue(control, position)), position) << control.name;
        EXPECT_EQ(SliderPosition(control, control.least - 5.0), 0);
        EXPECT_EQ(SliderPosition(control, control.greatest + 5.0), kSliderSteps);
    }
    EXPECT_EQ(SliderValue({"a", 0.0, 2.0, 1.0}, 250), 0.5);
}

TEST(WithTheme, BringsTheThemesWidthAndKeepsTheRestOfTheStyle)
{
    FrameStyle style;
    style.hiddenLines = true;
    style.lineWidth = 4;
    const FrameStyle projected = WithTheme(style, Theme::Proyector);
    EXPECT_EQ(projected.theme, Theme::Proyector);
    EXPECT_EQ(projected.lineWidth, 2) << "the projector's thick lines";
    EXPECT_TRUE(projected.hiddenLines);
    EXPECT_EQ(WithTheme(projected, Theme::Papel).lineWidth, 1);
}

TEST(TraceConflict, OnlyThePlainFrameInAnyOfItsWaysIsTraced)
{
    FrameStyle style;
    style.hiddenLines = style.depthCue = style.anaglyph = style.parallel = true;
    style.lineWidth = 3;
    EXPECT_EQ(TraceConflictOf(style), TraceConflict::None);
    for (auto figure : {+[](FrameStyle& s) { s.axes = true; }, +[](FrameStyle& s) { s.theme = Theme::Papel; },
                        +[](FrameStyle& s) { s.size = 800; }, +[](FrameStyle& s) { s.title = "t"; }}) {
        FrameStyle withFigure = style;
        figure(withFigure);
        EXPECT_EQ(TraceConflictOf(withFigure), TraceConflict::Figure);
    }
    style.section = SectionPlane{};
    EXPECT_EQ(TraceConflictOf(style), TraceConflict::Section) << "the section's own message comes first";
}

TEST(ImageNames, TheSurfacesIdIsProposedAndATypedImageExtensionIsKeptInAnyCase)
{
    EXPECT_EQ(ImageFileName(SurfaceRegistry(), kLeonardoStair, OutputFormat::Svg), "leonardo.svg");
    EXPECT_EQ(ImageFileName(SurfaceRegistry(), kSurfaceNone, OutputFormat::Png), "vexilon.png");
    EXPECT_EQ(WithImageExtension("a/toro", OutputFormat::Svg), "a/toro.svg");
    EXPECT_EQ(WithImageExtension("toro.PNG", OutputFormat::Svg), "toro.PNG");
    EXPECT_EQ(WithImageExtension("toro.v2", OutputFormat::Png), "toro.v2.png");
    EXPECT_EQ(WithImageExtension("giro.gif", OutputFormat::Pdf), "giro.gif.pdf");   // not a still picture's
    EXPECT_TRUE(FormatOfFileName("x.Svg") == OutputFormat::Svg && !FormatOfFileName("svg"));
}

}   // namespace
