// An equation surface's fields as the window's dialog and the page hold them, read by the session.
#include "session/equation_text.h"

#include <gtest/gtest.h>

#include "surfaces/definitions_file.h"

namespace {

TEST(EquationText, FieldsMakeTheDefinitionAFileWritesAndReadBackToTheSameFields)
{
    SurfaceDefinition def;
    def.id = "silla";
    def.caption = "Silla";
    def.xyz = {"u", "v", "0"};
    DefinitionProblem problem;
    ASSERT_TRUE(ReadEquationText({"x^2 - y^2 = z", " -1, 1, -pi/2, pi/2, -1, 1 ", " zx ", "30", "7"}, def, problem))
        << problem.what.spanish;
    EXPECT_EQ(def.xyz[0], "");
    EXPECT_EQ(def.families, Families::None);
    EXPECT_EQ(def.sections, "xz");
    EXPECT_EQ(def.grid, 30);
    EXPECT_EQ(def.planes, 7);
    EXPECT_EQ(def.box[2], -1.5707963267948966);
    ASSERT_TRUE(CheckDefinition(def, problem)) << problem.what.spanish;
    const DefinitionsRead read = ParseDefinitions(DefinitionsText({def}), "f");
    ASSERT_EQ(read.surfaces.size(), 1u) << (read.problems.empty() ? "" : read.problems[0].spanish);
    const EquationText text = EquationTextOf(read.surfaces[0]);
    EXPECT_EQ(text.equation, "x^2 - y^2 = z");
    EXPECT_EQ(text.box, "-1, 1, -1.5707963267948966, 1.5707963267948966, -1, 1");
    EXPECT_EQ(text.families, "xz");
    EXPECT_EQ(text.grid, "30");
    EXPECT_EQ(text.planes, "7");
    EXPECT_EQ(EquationTextOf(SurfaceDefinition{}).equation, kExampleEquation);
}

TEST(EquationText, ABadBoxOrFamiliesIsRefusedAtItsFieldAndABadCountIsLeftForTheCheck)
{
    const struct {
        EquationText text;
        DefinitionField field;
        const char* start;
    } cases[] = {
        {{"x", "-1, 1, -1, 1, -1", "xyz", "40", "12"}, DefinitionField::Box, "«-1, 1, -1, 1, -1» no es una caja"},
        {{"x", "-1, 1, -1, 1, -1, q", "xyz", "40", "12"}, DefinitionField::Box, "«q»: "},
        {{"x", "-1, 1, -1, 1, -1, 1", "xw", "40", "12"}, DefinitionField::Families, "«xw» no son familias de planos"},
        {{"x", "-1, 1, -1, 1, -1, 1", "uv", "40", "12"}, DefinitionField::Families, "una ecuación se dibuja por sus cortes"},
        {{"x", "-1, 1, -1, 1, -1, 1", "xyz", "4o", "12"}, DefinitionField::Grid, "rejilla 0; se acepta de 2 a"},
        {{"x", "-1, 1, -1, 1, -1, 1", "xyz", "40", ""}, DefinitionField::Planes, "0 planos; se aceptan de 1 a"},
    };
    for (const auto& c : cases) {
        SurfaceDefinition def;
        DefinitionProblem problem;
        EXPECT_FALSE(ReadEquationText(c.text, def, problem) && CheckDefinition(def, problem)) << c.start;
        EXPECT_EQ(problem.field, c.field) << c.start;
        EXPECT_EQ(problem.what.spanish.rfind(c.start, 0), 0u) << problem.what.spanish;
    }
}

}   // namespace
