// The richer formula language: Spanish names, hints, lets, parameters with ranges and formulas,
// and the fit that brings each axis to the same extent.
#include "surfaces/definitions_file.h"
#include "surfaces/expression.h"
#include "surfaces/formula_number.h"
#include "surfaces/typed_surface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <cstdlib>
#include <numbers>

namespace {

FormulaProblem ProblemOf(const std::string& text, const std::vector<NamedValue>& params = {})
{
    Formula formula;
    FormulaProblem problem;
    EXPECT_FALSE(formula.Compile(text, params, problem)) << text;
    return problem;
}

SurfaceDefinition Sphere()
{
    SurfaceDefinition def;
    def.xyz = {"cos(u)*cos(v)", "sin(u)*cos(v)", "sin(v)"};
    def.u = {"0", "2*pi", 13};
    def.v = {"-pi/2", "pi/2", 7};
    def.samples = 19;
    return def;
}

Wireframe Build(const SurfaceDefinition& def)
{
    DefinitionProblem problem;
    std::optional<Wireframe> wire = BuildTypedSurface(def, problem);
    EXPECT_TRUE(wire) << problem.what.english;
    return wire ? std::move(*wire) : Wireframe{};
}

TEST(FormulaLanguage, SpanishNamesComputeWhatTheirEnglishNamesDo)
{
    ASSERT_GE(SpanishFunctions().size(), 9u);
    for (const SpanishFunction& names : SpanishFunctions()) {
        EXPECT_FALSE(IsParameterName(names.spanish)) << names.spanish;
        for (double x : {-0.7, 0.3, 0.9, 1.5, 2.5}) {
            const std::string arg = "(" + std::to_string(x) + ")";
            Formula spanish, english;
            FormulaProblem problem;
            ASSERT_TRUE(spanish.Compile(names.spanish + arg, {}, problem)) << names.spanish << problem.english;
            ASSERT_TRUE(english.Compile(names.english + arg, {}, problem)) << names.english << problem.english;
            const double a = spanish.At(0, 0), b = english.At(0, 0);
            EXPECT_TRUE(a == b || (std::isnan(a) && std::isnan(b))) << names.spanish << arg;
        }
    }
}

TEST(FormulaLanguage, HintsNameTheLikelyMistake)
{
    FormulaProblem sine = ProblemOf("sine(u)");
    EXPECT_EQ(sine.english, "unknown name 'sine' at position 1; did you mean sin?");
    EXPECT_EQ(sine.spanish, "nombre desconocido «sine» en la posición 1; ¿quería decir sin?");
    EXPECT_EQ(ProblemOf("2*seno(v)").english, "unknown name 'seno' at position 3; did you mean sen?");
    EXPECT_EQ(ProblemOf("u*ampl", {{"amp", 1.0}}).english, "unknown name 'ampl' at position 3; did you mean amp?");
    // Names too short or too far from any known one get no guess.
    EXPECT_EQ(ProblemOf("w*u").english.find("did you mean"), std::string::npos);
    EXPECT_EQ(ProblemOf("foo(u)").english.find("did you mean"), std::string::npos);

    const FormulaProblem times = ProblemOf("2cos(v)");
    EXPECT_EQ(times.english, "a * is missing between 2 and cos at position 2");
    EXPECT_EQ(times.spanish, "falta un * entre 2 y cos en la posición 2");
    EXPECT_EQ(times.position, 1);
    EXPECT_EQ(ProblemOf("u + 3.5 (v)").english, "a * is missing between 3.5 and ( at position 9");
    EXPECT_EQ(ProblemOf("1e3u").english, "a * is missing between 1e3 and u at position 4");
    // A digit inside a name or an exponent is no number before a name.
    EXPECT_EQ(ProblemOf("x2cos(u)").english.find("missing"), std::string::npos);
    EXPECT_EQ(ProblemOf("u*/2").english.find("missing"), std::string::npos);
}

// Numbers are read by our own rule, not the C++ library's streams, which the page's library reads
// otherwise ("2c" and "0x10" taken whole): each as the native streams read it, in every program.
TEST(FormulaLanguage, NumbersReadAlikeInEveryProgram)
{
    struct Case {
        const char* text;
        int         length;   // read; 0: refused
        double      value;
    };
    for (const Case c : {Case{"2cos(v)", 1, 2.0}, Case{"0x10", 1, 0.0}, Case{"3.5e-2*u", 6, 0.035}, Case{".5", 2, 0.5},
                         Case{"1.", 2, 1.0}, Case{"1e3u", 3, 1000.0}, Case{"7pi", 1, 7.0}, Case{"2e", 0, 0.0},
                         Case{"2e+u", 0, 0.0}, Case{"1e400", 0, 0.0}, Case{"inf", 0, 0.0}, Case{".", 0, 0.0}}) {
        int position = 4;   // where muparser stands; moved by what is read
        double value = -1.0;
        EXPECT_EQ(ReadFormulaNumber(c.text, &position, &value), c.length ? 1 : 0) << c.text;
        EXPECT_EQ(position, 4 + c.length) << c.text;
        if (c.length) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
    Formula formula;
    FormulaProblem problem;
    ASSERT_TRUE(formula.Compile("0.1*3 + 2.5e-1*u", {}, problem)) << problem.english;
    EXPECT_EQ(formula.At(2.0, 0.0), 0.1 * 3 + 0.25 * 2.0);
    EXPECT_EQ(ProblemOf("0x10").english, "a * is missing between 0 and x10 at position 2");
}

TEST(FormulaLanguage, LetsDrawWhatTheFormulasWrittenOutDraw)
{
    SurfaceDefinition written = Sphere();
    written.xyz = {"(2 + cos(v))*cos(u)", "(2 + cos(v))*sin(u)", "sin(v)*(2 + cos(v))"};
    SurfaceDefinition let = Sphere();
    let.lets = {{"s", "r*sin(u)"}, {"r", "2 + cos(v)"}, {"c", "r*cos(u)"}};   // any order
    let.xyz = {"c", "s", "sin(v)*r"};
    const Wireframe a = Build(written), b = Build(let);
    EXPECT_EQ(a.xs, b.xs);
    EXPECT_EQ(a.ys, b.ys);
    EXPECT_EQ(a.zs, b.zs);
}

TEST(FormulaLanguage, BadLetsAreRefusedWithTheirName)
{
    auto refusal = [](std::vector<NamedFormula> lets, std::vector<NamedValue> params = {}) {
        SurfaceDefinition def = Sphere();
        def.xyz[2] = "sin(v)*a";
        def.lets = std::move(lets);
        def.params = std::move(params);
        DefinitionProblem problem;
        EXPECT_FALSE(CheckDefinition(def, problem));
        EXPECT_EQ(problem.field, DefinitionField::Lets);
        return problem.what.english;
    };
    EXPECT_EQ(refusal({{"a", "b+1"}, {"b", "c*2"}, {"c", "a"}}), "the lets use each other in a circle: a -> b -> c -> a");
    EXPECT_EQ(refusal({{"a", "a+1"}}), "the lets use each other in a circle: a -> a");
    EXPECT_EQ(refusal({{"a", "1"}, {"a", "2"}}), "'a' is given twice (as a let or a parameter)");
    EXPECT_EQ(refusal({{"a", "1"}}, {{"a", 2.0}}), "'a' is given twice (as a let or a parameter)");
    EXPECT_NE(refusal({{"sen", "1"}, {"a", "1"}}).find("'sen' cannot name a let"), std::string::npos);
    EXPECT_EQ(refusal({{"a", "2cos(u)"}}), "a: a * is missing between 2 and cos at position 2");
}

TEST(FormulaLanguage, ParametersTakeFormulasAndRangesInFiles)
{
    const DefinitionsRead read = ParseDefinitions(R"toml([[surface]]
id = "onda2"
caption = "Onda"
x = "u"
y = "v"
z = "h*sin(k*u)*r"
u = [0, 1, 3]
v = [0, 1, 3]
params = { k = "2*pi", h = ["-k/2", "k", "k/4"], r = [0, 1, 0.5] }
let = { unused = "u*v" }
fit = "box"

[[surface]]
id = "mal"
caption = "Mal"
x = "u"
y = "v"
z = "a*u"
u = [0, 1, 3]
v = [0, 1, 3]
params = { a = [1, 0, 0.5] }

[[surface]]
id = "fuera"
caption = "Fuera"
x = "u"
y = "v"
z = "a*u"
u = [0, 1, 3]
v = [0, 1, 3]
params = { a = [0, 1, 2] }
)toml", "p.toml");
    ASSERT_EQ(read.surfaces.size(), 1u);   // the bad entries are left out, the good one kept
    const SurfaceDefinition& def = read.surfaces[0];
    const double k = 2 * std::numbers::pi;
    EXPECT_EQ(def.params, (std::vector<NamedValue>{{"k", k}, {"h", k / 4}, {"r", 0.5}}));   // as written
    ASSERT_EQ(def.ranges.size(), 2u);
    EXPECT_EQ(def.ranges[0].name, "h");
    EXPECT_EQ(def.ranges[0].least, -k / 2);
    EXPECT_EQ(def.ranges[0].greatest, k);
    EXPECT_TRUE(def.fit && def.fitEachAxis);
    ASSERT_EQ(read.problems.size(), 2u);
    EXPECT_EQ(read.problems[0].English(), "p.toml:21: surface 'mal': parameters: the range of 'a' must have its least below its greatest");
    EXPECT_EQ(read.problems[1].English(), "p.toml:31: surface 'fuera': parameters: the value of 'a' lies outside its range");
    // Written out and read back the same, ranges and lets included.
    const DefinitionsRead again = ParseDefinitions(DefinitionsText(read.surfaces), "again.toml");
    ASSERT_EQ(again.surfaces.size(), 1u);
    EXPECT_EQ(again.surfaces[0].ranges.size(), 2u);
    ASSERT_EQ(again.surfaces[0].lets.size(), 1u);
    EXPECT_EQ(again.surfaces[0].lets[0].text, "u*v");
    EXPECT_TRUE(again.surfaces[0].fitEachAxis);
    // A parameter may use only those written before it.
    EXPECT_NE(ParseDefinitions("[[surface]]\nid='a'\ncaption='A'\nx='u'\ny='v'\nz='p*q'\nu=[0,1,3]\nv=[0,1,3]\n"
                               "params = { p = 'q', q = 1 }\n", "o.toml")
                  .problems.at(0).English().find("parameter 'p': unknown name or symbol 'q'"),
              std::string::npos);
}

TEST(FormulaLanguage, BoxFitBringsEachAxisToTheSameExtent)
{
    SurfaceDefinition flat = Sphere();
    flat.xyz = {"10*u", "v", "0.001*sin(u)*cos(v)"};
    flat.fitEachAxis = true;
    const Wireframe wire = Build(flat);
    auto extent = [](const std::vector<double>& values) {
        return *std::max_element(values.begin(), values.end()) - *std::min_element(values.begin(), values.end());
    };
    EXPECT_NEAR(extent(wire.xs), extent(wire.zs), 1e-9);
    EXPECT_NEAR(extent(wire.ys), extent(wire.zs), 1e-9);
    // The uniform fit keeps the flat surface flat.
    flat.fitEachAxis = false;
    EXPECT_LT(extent(Build(flat).zs), 0.01);
    // A plane stays a plane: an axis without extent is only centred.
    Wireframe plane;
    plane.xs = {1, 3};
    plane.ys = {5, 5};
    plane.zs = {0, 1};
    ScaleAxesToSameExtent(plane);
    EXPECT_EQ(plane.xs, (std::vector<double>{-1, 1}));
    EXPECT_EQ(plane.ys, (std::vector<double>{0, 0}));
}

TEST(FormulaLanguage, UnusedParametersAreNamedWithoutRefusingTheRest)
{
    SurfaceDefinition def = Sphere();
    def.params = {{"a", 1.0}, {"b", 2.0}, {"c", 3.0}};
    def.lets = {{"r", "b*cos(v)"}};
    def.xyz[0] = "r*cos(u)*a";
    EXPECT_EQ(UnusedParameters(def), std::vector<std::string>{"c"});
}

TEST(FormulaLanguage, GallerySlidersDrawAtBothEndsOfTheirRanges)
{
    const DefinitionsRead gallery = ReadDefinitionsFile(std::getenv("VEXILON_GALLERY"));
    ASSERT_TRUE(gallery.problems.empty()) << gallery.problems.front().English();
    int withRange = 0;
    for (const SurfaceDefinition& def : gallery.surfaces) {
        withRange += !def.ranges.empty();
        for (const ParameterRange& range : def.ranges)
            for (double value : {range.least, range.greatest}) {
                SurfaceDefinition at = def;
                SetParameter(at, range.name, value);
                DefinitionProblem problem;
                EXPECT_TRUE(BuildTypedSurface(at, problem)) << def.id << " " << range.name << "=" << value << ": " << problem.what.english;
            }
    }
    EXPECT_GE(withRange, 8);
}

}   // namespace

namespace {

std::uint64_t BitsOf(double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

}   // namespace

// A formula's functions are musl's, as in the page, never the C library's of the machine: at each of
// these arguments glibc's last bit differs (at least on a processor with FMA), musl's is written here.
TEST(FormulaLanguage, FunctionsGiveTheSameLastBitAsThePage)
{
    const struct {
        const char* text;
        double u, v;
        std::uint64_t bits;
    } cases[] = {
        {"tan(u)", 0.022193999999999998, 0, 0x3f96bafab97a1f59},
        {"log(u)", 0.90296699999999996, 0, 0xbfba2136353ad9e8},
        {"exp(u)", 0.65773700000000002, 0, 0x3ffee2fee0387f4e},
        {"atan(u)", 0.020413000000000001, 0, 0x3f94e66703b7de9c},
        {"asin(u)", 0.0044638999999999998, 0, 0x3f7248c102f89d78},
        {"sinh(u)", 0.22029599999999999, 0, 0x3fcc6d3040a8bf88},
        {"tanh(u)", 0.016908919999999997, 0, 0x3f91502647b39a38},
        {"log10(u)", 0.0032880000000000001, 0, 0xc003dd52db1532b7},
        {"u^v", 1.0025850000000001, 2.5002585000000002, 0x3ff01a864528fc00},
        {"pow(u, v)", 1.0025850000000001, 2.5002585000000002, 0x3ff01a864528fc00},
    };
    for (const auto& c : cases) {
        Formula formula;
        FormulaProblem problem;
        ASSERT_TRUE(formula.Compile(c.text, {}, problem)) << c.text;
        EXPECT_EQ(BitsOf(formula.At(c.u, c.v)), c.bits) << c.text;
    }
}
