// A user's parameters and lets typed on one line each, read as the window's dialog reads them.
#include "session/definition_rules.h"
#include "session/definition_text.h"

#include <gtest/gtest.h>

namespace {

TEST(DefinitionText, ParametersAreFormulasOfTheOnesBeforeAndCommasInsideParenthesesPartNothing)
{
    SurfaceDefinition read;
    DefinitionProblem problem;
    ASSERT_TRUE(ReadParametersText(" a = max(1, 2) , b=pi/a,, ", read, problem)) << problem.what.spanish;
    ASSERT_EQ(read.params.size(), 2u);
    EXPECT_EQ(read.params[0], (NamedValue{"a", 2.0}));
    EXPECT_EQ(read.params[1].first, "b");
    EXPECT_DOUBLE_EQ(read.params[1].second, 1.5707963267948966);
    SurfaceDefinition none;
    EXPECT_TRUE(ReadParametersText("   ", none, problem));
    EXPECT_TRUE(none.params.empty());
}

TEST(DefinitionText, AParameterThatDoesNotReadIsTheParametersFieldsProblem)
{
    for (const char* text : {"a=2, b", "a=2*", "b=a+1"}) {
        SurfaceDefinition params;
        DefinitionProblem problem;
        EXPECT_FALSE(ReadParametersText(text, params, problem)) << text;
        EXPECT_EQ(problem.field, DefinitionField::Params) << text;
        EXPECT_FALSE(problem.what.spanish.empty()) << text;
    }
    // A later parameter is not yet known, nor is a name no parameter has: the message names both.
    for (const auto& [text, unknown] : {std::pair{"k=a, a=1", "«k»: nombre o símbolo desconocido «a»"},
                                        std::pair{"a=1, k=w", "«k»: nombre o símbolo desconocido «w»"}}) {
        SurfaceDefinition params;
        DefinitionProblem problem;
        EXPECT_FALSE(ReadParametersText(text, params, problem));
        EXPECT_NE(problem.what.spanish.find(unknown), std::string::npos) << problem.what.spanish;
    }
}

TEST(DefinitionText, LetsArePartedBySemicolonsAndOneWithoutANameIsKeptForTheCheckToRefuse)
{
    const std::vector<NamedFormula> lets = ReadLetsText("r = sqrt(1-b^2); s=atan2(r, u) ;; u*v");
    ASSERT_EQ(lets.size(), 3u);
    EXPECT_EQ(lets[0].name, "r");
    EXPECT_EQ(lets[0].text, "sqrt(1-b^2)");
    EXPECT_EQ(lets[1].name, "s");
    EXPECT_EQ(lets[1].text, "atan2(r, u)");
    EXPECT_EQ(lets[2].name, "");
    EXPECT_EQ(lets[2].text, "u*v");
}

TEST(DefinitionRules, APreviewLeavesOutTheParametersNoFormulaUsesAndSaysSoOnceEach)
{
    SurfaceDefinition definition;
    definition.xyz = {"a*u", "v", "0"};
    DefinitionProblem problem;
    ASSERT_TRUE(ReadParametersText("a=2, k=1, m=3", definition, problem));
    const PreviewDefinition preview = PreviewOf(definition);
    EXPECT_EQ(preview.drawn.params, (std::vector<NamedValue>{{"a", 2.0}}));
    EXPECT_EQ(preview.warning, "Aviso: ninguna fórmula usa el parámetro «k». Aviso: ninguna fórmula usa el parámetro «m».");
    definition.xyz[2] = "k*m";
    EXPECT_EQ(PreviewOf(definition).warning, "");
}

TEST(DefinitionRules, TheParametersProblemComesBeforeTheEquationsAndWhatReadsIsKept)
{
    const EquationText good{"x^2 + y^2 = c", "-2, 2, -2, 2, -1, 1", "z", "40", "5"};
    const EquationText badBox{"x^2 + y^2 = c", "-2, 2", "z", "40", "5"};
    SurfaceDefinition definition;
    DefinitionProblem problem;
    EXPECT_FALSE(ReadDefinitionTexts("c=", &badBox, definition, problem));
    EXPECT_EQ(problem.field, DefinitionField::Params);
    definition = {};
    EXPECT_FALSE(ReadDefinitionTexts("c=1", &badBox, definition, problem));
    EXPECT_EQ(problem.field, DefinitionField::Box);
    definition = {};
    EXPECT_FALSE(ReadDefinitionTexts("c=1, d", &good, definition, problem));
    EXPECT_EQ(problem.field, DefinitionField::Params);
    EXPECT_EQ(definition.params, (std::vector<NamedValue>{{"c", 1.0}}));
    EXPECT_EQ(definition.equation, good.equation) << "the equation read on";
    definition = {};
    EXPECT_TRUE(ReadDefinitionTexts("c=1", nullptr, definition, problem)) << "formulas of u and v: no equation";
    EXPECT_TRUE(definition.equation.empty());
}

TEST(DefinitionRules, ParametersAndLetsWrittenBackReadAsTheyWere)
{
    const std::vector<NamedValue> params = {{"a", 0.1}, {"b", -2.0}, {"c", 1e300}};
    const std::vector<NamedFormula> lets = {{"r", "sqrt(1-a^2)"}, {"s", "max(r, 1)"}};
    EXPECT_EQ(LetsText(lets), "r=sqrt(1-a^2); s=max(r, 1)");
    SurfaceDefinition read;
    DefinitionProblem problem;
    ASSERT_TRUE(ReadParametersText(ParametersText(params), read, problem)) << ParametersText(params);
    EXPECT_EQ(read.params, params) << "to the bit";
    const std::vector<NamedFormula> again = ReadLetsText(LetsText(lets));
    ASSERT_EQ(again.size(), 2u);
    EXPECT_EQ(again[1].name, "s");
    EXPECT_EQ(again[1].text, "max(r, 1)");
}

}   // namespace
