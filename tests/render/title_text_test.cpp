// A title's mathematics as LaTeX: every sign pdflatex's text knows is set, not replaced by "?".
#include <gtest/gtest.h>

#include "render/title_text.h"

namespace {

std::string TexOf(std::string_view title)
{
    std::string tex;
    for (const TextRun& run : TextRuns(title))
        tex += run.tex;
    return tex;
}

TEST(TitleText, MathematicsSetsGreekLettersAndSignsAsCommands)
{
    EXPECT_EQ(TexOf("$α·β−Γ²$"), "{\\alpha}{\\cdot }{\\beta}{-}{\\Gamma}{^{2}}");
    EXPECT_EQ(TexOf("$x ∈ ℝ, ϑ ∓ 1$"), "x {\\in } {\\mathbf{R}}, {\\vartheta} {\\mp } 1");
    EXPECT_EQ(TexOf("$☃$"), "\\mbox{?}");
}

}   // namespace
