// Typed surfaces: the formula language, sampling, facets, fit, and what a typed surface draws.
#include "geometry/view_changes.h"
#include "render/frame.h"
#include "render/recording_canvas.h"
#include "surfaces/expression.h"
#include "surfaces/registry.h"
#include "surfaces/typed_surface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <locale>
#include <numbers>

namespace {

double Value(const std::string& text, const std::vector<NamedValue>& params = {})
{
    FormulaProblem problem;
    const std::optional<double> value = EvaluateConstant(text, params, problem);
    EXPECT_TRUE(value) << text << ": " << problem.english;
    return value.value_or(std::nan(""));
}

FormulaProblem ProblemOf(const std::string& text)
{
    Formula formula;
    FormulaProblem problem;
    EXPECT_FALSE(formula.Compile(text, {}, problem)) << text;
    return problem;
}

SurfaceDefinition Grid(std::string x, std::string y, std::string z, int uLines, int vLines, int samples)
{
    SurfaceDefinition def;
    def.xyz = {std::move(x), std::move(y), std::move(z)};
    def.u = {"0", "1", uLines};
    def.v = {"0", "1", vLines};
    def.samples = samples;
    def.fit = false;
    return def;
}

Wireframe Build(const SurfaceDefinition& def)
{
    DefinitionProblem problem;
    std::optional<Wireframe> wire = BuildTypedSurface(def, problem);
    EXPECT_TRUE(wire) << problem.what.english;
    return wire ? std::move(*wire) : Wireframe{};
}

DefinitionProblem Refusal(const SurfaceDefinition& def)
{
    DefinitionProblem problem;
    EXPECT_FALSE(BuildTypedSurface(def, problem));
    return problem;
}

std::vector<CanvasCall> FirstView(const Wireframe& wire)
{
    ViewState view;
    ResetViewState(view);
    view.surface = 1;
    RecordingCanvas canvas;
    DrawFrame(BeginFrame(view, wire), wire, canvas);
    return canvas.calls;
}

TEST(Formula, KnowsTheFunctionsAndConstantsATeacherExpects)
{
    EXPECT_EQ(Value("2*pi"), 2 * std::numbers::pi);
    EXPECT_EQ(Value("-pi/2"), -std::numbers::pi / 2);
    EXPECT_EQ(Value("e"), std::numbers::e);
    EXPECT_EQ(Value("atan2(1, 1)"), std::atan2(1.0, 1.0));
    EXPECT_EQ(Value("cot(0.5)"), 1 / std::tan(0.5));
    EXPECT_EQ(Value("sec(0.5)"), 1 / std::cos(0.5));
    EXPECT_EQ(Value("csc(0.5)"), 1 / std::sin(0.5));
    EXPECT_EQ(Value("hypot(3, 4)"), 5.0);
    EXPECT_EQ(Value("mod(-7, 3)"), 2.0);   // the divisor's sign, not C's
    EXPECT_EQ(Value("mod(7, -3)"), -2.0);
    EXPECT_EQ(Value("floor(-2.5) + ceil(2.1)"), 0.0);
    EXPECT_EQ(Value("2^10"), 1024.0);
    EXPECT_EQ(Value("1.5e2"), 150.0);      // the decimal point is '.'
    EXPECT_EQ(Value("a*b", {{"a", 3.0}, {"b", 0.5}}), 1.5);
    Formula f;
    FormulaProblem problem;
    ASSERT_TRUE(f.Compile("u^2 - v + k", {{"k", 10.0}}, problem));
    EXPECT_EQ(f.At(3.0, 1.0), 18.0);
    EXPECT_TRUE(f.Uses("k"));
    EXPECT_FALSE(f.Uses("q"));
    // A name is read only where it stands whole: not inside a longer name, an exponent or a
    // function's name; compiling again forgets the earlier text's names.
    ASSERT_TRUE(f.Compile("e2*1e2 + 2.5E-3*sen(u) + k2", {{"e2", 1.0}, {"k", 2.0}, {"k2", 3.0}}, problem)) << problem.english;
    EXPECT_TRUE(f.Uses("e2") && f.Uses("k2") && f.Uses("u"));
    EXPECT_FALSE(f.Uses("k") || f.Uses("v") || f.Uses("E") || f.Uses("sen"));
}

TEST(Formula, ProblemsSayWhatAndWhere)
{
    const FormulaProblem unknown = ProblemOf("u + w*2");
    EXPECT_EQ(unknown.position, 4);
    EXPECT_NE(unknown.english.find("unknown name or symbol 'w' at position 5"), std::string::npos) << unknown.english;
    EXPECT_NE(unknown.spanish.find("«w»"), std::string::npos);
    EXPECT_NE(ProblemOf("foo(u)").english.find("'foo'"), std::string::npos);
    EXPECT_NE(ProblemOf("").english.find("empty"), std::string::npos);
    EXPECT_NE(ProblemOf("sin(u").english.find("ends too soon"), std::string::npos);
    EXPECT_NE(ProblemOf("u,v").english.find("several values"), std::string::npos);
    EXPECT_NE(ProblemOf("sin(u, v)").english.find("number of arguments"), std::string::npos);
    EXPECT_GE(ProblemOf("u * * v").position, 0);
    FormulaProblem problem;
    EXPECT_FALSE(EvaluateConstant("u", {}, problem));   // ranges are constants
    EXPECT_FALSE(EvaluateConstant("1/0", {}, problem));
    EXPECT_NE(problem.english.find("not a finite number"), std::string::npos);
}

struct CommaDecimals : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
};

TEST(Formula, TheDecimalPointIsAPointWhateverTheLocale)
{
    const std::locale before = std::locale::global(std::locale(std::locale::classic(), new CommaDecimals));
    EXPECT_EQ(Value("1.5 + 0.25"), 1.75);
    std::locale::global(before);
}

TEST(Formula, ParameterNamesKeepClearOfTheLanguage)
{
    EXPECT_TRUE(IsParameterName("a"));
    EXPECT_TRUE(IsParameterName("r_2"));
    for (const char* name : {"", "u", "v", "pi", "e", "sin", "hypot", "2a", "a-b", "á"})
        EXPECT_FALSE(IsParameterName(name)) << name;
}

TEST(TypedSurface, AxisValuesIncludeBothEnds)
{
    EXPECT_EQ(AxisValues(-5.0, 4.6, 25).size(), 25u);
    EXPECT_EQ(AxisValues(-5.0, 4.6, 25).front(), -5.0);
    EXPECT_EQ(AxisValues(-5.0, 4.6, 25).back(), 4.6);
    EXPECT_EQ(AxisValues(0.0, 2 * std::numbers::pi, 3)[1], std::numbers::pi);
    EXPECT_EQ(AxisValues(1.0, 2.0, 1), std::vector<double>{1.0});
}

TEST(TypedSurface, LinesOfConstantUThenOfConstantVEachAMoveThenLineTos)
{
    const Wireframe both = Build(Grid("u", "v", "0", 3, 4, 5));
    ASSERT_EQ(both.ops.size(), (3u + 4u) * 5u);
    int starts = 0;
    for (const WireOp& op : both.ops)
        starts += op.to == WireOp::kLineStart;
    EXPECT_EQ(starts, 7);
    EXPECT_EQ(both.ops[0].to, WireOp::kLineStart);
    EXPECT_EQ(both.ops[1].to, WireOp::kLineNext);
    EXPECT_EQ(both.Point(1).x, 0.0);    // the first line has u = 0 ...
    EXPECT_EQ(both.Point(1).y, 0.25);   // ... and v running
    EXPECT_EQ(both.Point(15).y, 0.0);   // the first v line: v = 0, u running
    EXPECT_EQ(both.Point(16).x, 0.25);
    EXPECT_EQ(both.Point(34).x, 1.0);   // the last sample: both ends included
    EXPECT_EQ(both.Point(34).y, 1.0);
    SurfaceDefinition onlyV = Grid("u", "v", "0", 3, 4, 5);
    onlyV.families = Families::V;
    EXPECT_EQ(Build(onlyV).ops.size(), 4u * 5u);
    onlyV.families = Families::U;
    EXPECT_EQ(Build(onlyV).ops.size(), 3u * 5u);
}

TEST(TypedSurface, FacetsAreTwoTrianglesACellSkippingNonFiniteCorners)
{
    const Wireframe wire = Build(Grid("u", "v", "0", 3, 4, 5));
    ASSERT_EQ(wire.triangles.size(), 3u * (3 - 1) * (5 - 1) * 2);
    EXPECT_EQ((std::vector<std::uint32_t>(wire.triangles.begin(), wire.triangles.begin() + 6)),
              (std::vector<std::uint32_t>{0, 1, 6, 0, 6, 5}));
    for (std::uint32_t i : wire.triangles)
        EXPECT_LT(i, 15u);   // the u family's points only
    SurfaceDefinition onlyV = Grid("u", "v", "0", 3, 4, 5);
    onlyV.families = Families::V;
    EXPECT_EQ(Build(onlyV).triangles.size(), 3u * (4 - 1) * (5 - 1) * 2);
    // z is not finite at u = 0.5, v = 0.5: the four cells around that sample have no facets.
    const Wireframe holed = Build(Grid("u", "v", "1/((u-0.5)^2+(v-0.5)^2)", 3, 3, 5));
    EXPECT_EQ(holed.triangles.size(), 3u * (2 * 4 - 4) * 2);
}

TEST(TypedSurface, NonFiniteSamplesBreakTheLineAsForTheEight)
{
    const Wireframe wire = Build(Grid("u", "v", "sqrt(v - 0.5)", 1, 1, 5));
    ASSERT_EQ(wire.Size(), 10u);
    EXPECT_TRUE(std::isnan(wire.zs[0]));   // recorded as computed: the drawing skips it
    EXPECT_EQ(wire.zs[4], std::sqrt(0.5));
}

TEST(TypedSurface, LimitsAndBadValuesAreRefusedNamingTheField)
{
    auto field = [](SurfaceDefinition def) { return Refusal(def).field; };
    SurfaceDefinition def = Grid("u", "v", "0", 3, 4, 5);
    EXPECT_EQ(field([&] { auto d = def; d.u.lines = 1001; return d; }()), DefinitionField::ULines);
    EXPECT_EQ(field([&] { auto d = def; d.v.lines = 0; return d; }()), DefinitionField::VLines);
    EXPECT_EQ(field([&] { auto d = def; d.samples = 10001; return d; }()), DefinitionField::Samples);
    EXPECT_EQ(field([&] { auto d = def; d.samples = 1; return d; }()), DefinitionField::Samples);
    EXPECT_EQ(field([&] { auto d = def; d.u.lines = 1000; d.v.lines = 1000; d.samples = 1001; return d; }()),
              DefinitionField::Samples);   // 2,002,000 samples in all
    EXPECT_EQ(field([&] { auto d = def; d.u.to = "0"; return d; }()), DefinitionField::UTo);
    EXPECT_EQ(field([&] { auto d = def; d.v.from = "2*"; return d; }()), DefinitionField::VFrom);
    EXPECT_EQ(field([&] { auto d = def; d.xyz[1] = "v +"; return d; }()), DefinitionField::Y);
    EXPECT_EQ(field([&] { auto d = def; d.params = {{"k", 1.0}}; return d; }()), DefinitionField::Params);
    EXPECT_EQ(field([&] { auto d = def; d.params = {{"sin", 1.0}}; return d; }()), DefinitionField::Params);
    EXPECT_EQ(field([&] { auto d = def; d.xyz[2] = "sqrt(-1-u)"; return d; }()), DefinitionField::Whole);
    SurfaceDefinition most = def;
    most.u.lines = 1000;
    most.v.lines = 1000;
    most.samples = 1000;   // exactly 2 million: accepted
    DefinitionProblem problem;
    EXPECT_TRUE(CheckDefinition(most, problem));
    std::atomic<bool> cancel{true};
    EXPECT_FALSE(BuildTypedSurface(most, problem, &cancel));
    EXPECT_TRUE(problem.what.english.empty());   // cancelled, not wrong
}

TEST(TypedSurface, FitCentresTheBoxAndPutsTheFarthestSampleAtTheSphereRadius)
{
    SurfaceDefinition def = Grid("100 + 2*u", "-50 + v", "7", 5, 5, 9);
    def.xyz[2] = "u < 0.5 ? 7 : sqrt(-1)";
    def.fit = true;
    const Wireframe wire = Build(def);
    double farthest = 0.0, low = 1e9, high = -1e9;
    for (size_t i = 0; i < wire.Size(); ++i) {
        const Vec3 p = wire.Point(i);
        if (!std::isfinite(p.z))
            continue;
        farthest = std::max(farthest, std::hypot(p.x, p.y, p.z));
        low = std::min(low, p.x);
        high = std::max(high, p.x);
    }
    EXPECT_NEAR(farthest, kFitRadius, 1e-12);
    EXPECT_NEAR(low + high, 0.0, 1e-12);
    def.fit = false;
    EXPECT_EQ(Build(def).Point(0).x, 100.0);   // --no-fit: the surface's own units
}

TEST(TypedSurface, TheSaddleTypedOnItsOwnGridDrawsTheBuiltInSaddle)
{
    SurfaceDefinition saddle;
    saddle.xyz = {"10*u", "10*v", "u^2-v^2"};
    saddle.u = {"-5", "4.6", 25};
    saddle.v = {"-5", "4.6", 25};
    saddle.samples = 25;
    saddle.fit = false;
    const Wireframe typed = Build(saddle);
    const Wireframe& builtin = BuiltinWireframe(kSaddle);
    ASSERT_EQ(typed.Size(), builtin.Size());
    EXPECT_EQ(FirstView(typed), FirstView(builtin));
    ViewState a, b;
    ResetViewState(a);
    ResetViewState(b);
    for (ViewState* view : {&a, &b}) {
        BeginFrame(*view, builtin);
        OrbitEye(*view, {0, 0}, {37, -21});
        SetZoom(*view, 80);
    }
    RecordingCanvas fromTyped, fromBuiltin;
    DrawFrame(BeginFrame(a, typed), typed, fromTyped);
    DrawFrame(BeginFrame(b, builtin), builtin, fromBuiltin);
    EXPECT_EQ(fromTyped.calls, fromBuiltin.calls);
}

TEST(TypedSurface, AFittedUnitSphereHasTheBuiltInSpheresSizeOnScreen)
{
    SurfaceDefinition sphere;
    sphere.xyz = {"cos(u)*cos(v)", "sin(u)*cos(v)", "sin(v)"};
    sphere.u = {"0", "2*pi", 37};
    sphere.v = {"-pi/2", "pi/2", 19};
    auto extent = [](const std::vector<CanvasCall>& calls) {
        int left = 1000, right = -1000, top = 1000, bottom = -1000;
        for (const CanvasCall& call : calls)
            if (call.op == CanvasCall::Op::LineTo) {
                left = std::min(left, call.p.col);
                right = std::max(right, call.p.col);
                top = std::min(top, call.p.row);
                bottom = std::max(bottom, call.p.row);
            }
        return std::array<int, 4>{left, right, top, bottom};
    };
    const auto typed = extent(FirstView(Build(sphere)));
    const auto builtin = extent(FirstView(BuiltinWireframe(kSphere)));
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(typed[static_cast<size_t>(i)], builtin[static_cast<size_t>(i)], 2) << i;
}

TEST(Registry, RemovingFromANumberKeepsTheEight)
{
    SurfaceRegistry registry;
    registry.Add("extra1", "Uno", [] { return Wireframe{}; });
    registry.Add("extra2", "Dos", [] { return Wireframe{}; });
    registry.RemoveFrom(10);
    EXPECT_EQ(registry.Count(), 9);
    registry.RemoveFrom(1);
    EXPECT_EQ(registry.Count(), kBuiltinSurfaceCount);
    EXPECT_EQ(registry.Add("extra2", "Otra vez", [] { return Wireframe{}; }), 9);
}

}   // namespace
