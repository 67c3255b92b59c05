// Equation surfaces and plane sections: the contour tracer, the sections against parametric
// surfaces, sheets, singular points, the definitions file and the refusals.
#include "geometry/view_changes.h"
#include "render/frame.h"
#include "render/recording_canvas.h"
#include "surfaces/contour.h"
#include "surfaces/definitions_file.h"
#include "surfaces/equation_surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

SurfaceDefinition Equation(std::string text)
{
    SurfaceDefinition def;
    def.id = "e";
    def.caption = "E";
    def.equation = std::move(text);
    def.families = Families::None;
    def.sections = "xyz";
    return def;
}

SurfaceDefinition UnitSphere()
{
    SurfaceDefinition def;
    def.id = "s";
    def.caption = "S";
    def.xyz = {"cos(u)*cos(v)", "sin(u)*cos(v)", "sin(v)"};
    def.u = {"0", "2*pi", 25};
    def.v = {"-pi/2", "pi/2", 13};
    return def;
}

// The pieces of each line of a wireframe, as lists of points.
std::vector<std::vector<Vec3>> Lines(const Wireframe& wire)
{
    std::vector<std::vector<Vec3>> lines;
    for (const WireOp& op : wire.ops) {
        if (op.to == WireOp::kLineStart)
            lines.emplace_back();
        if (op.to == WireOp::kLineStart || op.to == WireOp::kLineNext)
            lines.back().push_back(wire.Point(op.from));
    }
    return lines;
}

struct Drawn {
    std::vector<Pixel>                    points;
    std::vector<std::pair<Pixel, Pixel>> segments;
};

Drawn Draw(const Wireframe& wire)
{
    ViewState view;
    ResetViewState(view);
    RecordingCanvas canvas;
    DrawFrame(BeginFrame(view, wire), wire, canvas);
    Drawn drawn;
    for (const CanvasCall& call : canvas.calls) {
        if (call.op == CanvasCall::Op::LineTo && !drawn.points.empty())
            drawn.segments.push_back({drawn.points.back(), call.p});
        if (call.op == CanvasCall::Op::LineTo || call.op == CanvasCall::Op::MoveTo)
            drawn.points.push_back(call.p);
    }
    return drawn;
}

// How far, in pixels, the farthest point of a lies from b's lines.
double Farthest(const Drawn& a, const Drawn& b)
{
    double worst = 0.0;
    for (const Pixel& p : a.points) {
        double nearest = INFINITY;
        for (const auto& [s, e] : b.segments) {
            const double dx = e.col - s.col, dy = e.row - s.row, length = dx * dx + dy * dy;
            const double t = length > 0 ? std::clamp(((p.col - s.col) * dx + (p.row - s.row) * dy) / length, 0.0, 1.0) : 0.0;
            nearest = std::min(nearest, std::hypot(s.col + t * dx - p.col, s.row + t * dy - p.row));
        }
        worst = std::max(worst, nearest);
    }
    return worst;
}

TEST(ContourTracer, ClosedCurvesCloseOpenOnesEndAtTheEdgeAndEveryPointIsOnTheCurve)
{
    const auto circle = TraceContour([](double p, double q) { return p * p + q * q - 1; }, {-2, 2, -2, 2, 40});
    ASSERT_EQ(circle.size(), 1u);
    EXPECT_EQ(circle[0].front().p, circle[0].back().p);
    EXPECT_EQ(circle[0].front().q, circle[0].back().q);
    for (const ContourPoint& c : circle[0])
        EXPECT_NEAR(std::hypot(c.p, c.q), 1.0, 1e-12);
    const auto hyperbola = TraceContour([](double p, double q) { return p * q - 0.3; }, {-2, 2, -2, 2, 16});
    ASSERT_EQ(hyperbola.size(), 2u);   // one branch a quadrant, ends on the box
    for (const ContourPiece& piece : hyperbola) {
        EXPECT_TRUE(std::abs(piece.front().p) == 2 || std::abs(piece.front().q) == 2);
        EXPECT_TRUE(std::abs(piece.back().p) == 2 || std::abs(piece.back().q) == 2);
    }
    // Where F is NaN the curve stops: no point outside where it is defined.
    const auto half = TraceContour([](double p, double q) { return std::sqrt(p) + q * q - 1; }, {-2, 2, -2, 2, 20});
    ASSERT_EQ(half.size(), 1u);
    for (const ContourPoint& c : half[0])
        EXPECT_GE(c.p, 0.0);
}

TEST(EquationSurface, ItsSectionsAreTheParametricSpheresCirclesToAPixel)
{
    SurfaceDefinition implicit = Equation("x^2 + y^2 + z^2 = 1");
    implicit.sections = "z";
    implicit.planes = 8;   // over -2 ... 2: the four inside the sphere stand at ±0.25, ±0.75
    SurfaceDefinition parametric = UnitSphere();
    parametric.families = Families::None;
    parametric.sections = "z";
    parametric.planes = 4;   // over -1 ... 1: the same heights
    parametric.samples = 121;
    DefinitionProblem problem;
    const std::optional<Wireframe> a = BuildTypedSurface(implicit, problem);
    ASSERT_TRUE(a) << problem.what.english;
    const std::optional<Wireframe> b = BuildTypedSurface(parametric, problem);
    ASSERT_TRUE(b) << problem.what.english;
    EXPECT_EQ(Lines(*a).size(), 4u);
    EXPECT_EQ(Lines(*b).size(), 4u);
    const Drawn da = Draw(*a), db = Draw(*b);
    EXPECT_LE(Farthest(da, db), 1.0);
    EXPECT_LE(Farthest(db, da), 1.0);
    EXPECT_FALSE(a->triangles.empty());
}

TEST(EquationSurface, AParaboloidsZSectionsAreItsCirclesAtThoseHeights)
{
    SurfaceDefinition def;
    def.xyz = {"v*cos(u)", "v*sin(u)", "v^2"};
    def.u = {"0", "2*pi", 13};
    def.v = {"0", "1", 5};
    def.fit = false;
    def.families = Families::UV;
    def.sections = "z";
    def.planes = 4;
    DefinitionProblem problem;
    const std::optional<Wireframe> wire = BuildTypedSurface(def, problem);
    ASSERT_TRUE(wire);
    const auto lines = Lines(*wire);
    ASSERT_EQ(lines.size(), 13u + 5u + 4u);   // u and v lines as before, then the sections
    for (size_t k = 0; k < 4; ++k) {
        const double c = (k + 0.5) / 4;
        for (const Vec3& p : lines[18 + k]) {
            EXPECT_EQ(p.z, c);
            EXPECT_NEAR(p.x * p.x + p.y * p.y, c, 1e-9);
        }
    }
}

TEST(EquationSurface, BothSheetsAndTheConesVertexDrawCleanly)
{
    SurfaceDefinition sheets = Equation("x^2 + y^2 - z^2 = -1");
    sheets.fit = false;
    DefinitionProblem problem;
    const std::optional<Wireframe> two = BuildTypedSurface(sheets, problem);
    ASSERT_TRUE(two);
    bool above = false, below = false;
    for (size_t i = 0; i < two->Size(); ++i) {
        above = above || two->zs[i] > 1.0;
        below = below || two->zs[i] < -1.0;
    }
    EXPECT_TRUE(above && below);
    // The cone's sections through and about its vertex: every point finite, on the cone, and no
    // step longer than a cell's diagonal.
    for (int planes : {10, 11}) {
        SurfaceDefinition cone = Equation("x^2 + y^2 = z^2");
        cone.fit = false;
        cone.planes = planes;
        const std::optional<Wireframe> wire = BuildTypedSurface(cone, problem);
        ASSERT_TRUE(wire);
        for (const auto& line : Lines(*wire))
            for (size_t i = 0; i < line.size(); ++i) {
                ASSERT_TRUE(std::isfinite(line[i].x) && std::isfinite(line[i].y) && std::isfinite(line[i].z));
                EXPECT_NEAR(line[i].x * line[i].x + line[i].y * line[i].y, line[i].z * line[i].z, 1e-9);
                if (i > 0) {
                    EXPECT_LE(VecLength(VecSub(line[i], line[i - 1])), 0.1 * std::sqrt(2.0) + 1e-12);
                }
            }
    }
}

// The surface's nodes are evaluated once, for its facets and for the section planes lying on the
// grid's layers (here a third of them): every plane's curve is, to the bit, what the tracer finds
// over that plane alone.
TEST(EquationSurface, SectionsOnTheGridsLayersAreTheTracersOwnCurves)
{
    SurfaceDefinition sphere = Equation("(x - 0.3)^2 + (y + 0.2)^2 + z^2 = 1");   // no symmetry to hide a swap
    sphere.fit = false;
    DefinitionProblem problem;
    const std::optional<Wireframe> wire = BuildTypedSurface(sphere, problem);
    ASSERT_TRUE(wire);
    std::vector<std::vector<Vec3>> expected;
    for (int axis = 0; axis < 3; ++axis)
        for (int k = 0; k < sphere.planes; ++k) {
            const double c = -2 + (k + 0.5) * 4 / sphere.planes;
            const auto at = [&](double p, double q) {
                double xyz[3];
                xyz[axis] = c;
                xyz[axis == 0 ? 1 : 0] = p;
                xyz[axis == 2 ? 1 : 2] = q;
                return Vec3{xyz[0], xyz[1], xyz[2]};
            };
            const auto F = [&](double p, double q) {
                const Vec3 v = at(p, q);
                return ((v.x - 0.3) * (v.x - 0.3) + (v.y + 0.2) * (v.y + 0.2) + v.z * v.z) - 1;
            };
            for (const ContourPiece& piece : TraceContour(F, {-2, 2, -2, 2, sphere.grid})) {
                expected.emplace_back();
                for (const ContourPoint& point : piece)
                    expected.back().push_back(at(point.p, point.q));
            }
        }
    const std::vector<std::vector<Vec3>> lines = Lines(*wire);
    ASSERT_EQ(lines.size(), expected.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        ASSERT_EQ(lines[i].size(), expected[i].size());
        for (size_t j = 0; j < lines[i].size(); ++j)
            ASSERT_TRUE(lines[i][j].x == expected[i][j].x && lines[i][j].y == expected[i][j].y && lines[i][j].z == expected[i][j].z);
    }
}

TEST(EquationSurface, BadEquationsAreRefusedNamingTheField)
{
    auto field = [](SurfaceDefinition def) {
        DefinitionProblem problem;
        EXPECT_FALSE(BuildTypedSurface(def, problem));
        return problem.field;
    };
    EXPECT_EQ(field(Equation("x^2 + u = 1")), DefinitionField::Equation);
    EXPECT_EQ(field(Equation("x = 1 = y")), DefinitionField::Equation);
    EXPECT_EQ(field(Equation("x^2 + y^2 + z^2 = 100")), DefinitionField::Equation);   // no point in the box
    EXPECT_EQ(field([] { auto d = Equation("x"); d.box[2] = 3; return d; }()), DefinitionField::Box);
    EXPECT_EQ(field([] { auto d = Equation("x"); d.grid = 1; return d; }()), DefinitionField::Grid);
    EXPECT_EQ(field([] { auto d = Equation("x"); d.planes = 0; return d; }()), DefinitionField::Planes);
    EXPECT_EQ(field([] { auto d = Equation("x"); d.sections = ""; return d; }()), DefinitionField::Families);
    EXPECT_EQ(field([] { auto d = Equation("x"); d.params = {{"k", 1}}; return d; }()), DefinitionField::Params);
    DefinitionProblem problem;
    EXPECT_FALSE(BuildTypedSurface(Equation("x^2 = y**2"), problem));
    EXPECT_EQ(problem.what.position, 8);   // counted in the whole equation
    Families families;
    std::string sections;
    EXPECT_TRUE(ReadFamilies("zuv", families, sections));
    EXPECT_EQ(families, Families::UV);
    EXPECT_EQ(sections, "z");
    EXPECT_FALSE(ReadFamilies("uu", families, sections));
    EXPECT_FALSE(ReadFamilies("w", families, sections));
}

TEST(EquationSurface, ADefinitionsFileCarriesItWholeAndItsLevelMovesWithAParameter)
{
    SurfaceDefinition def = Equation("x^2 + y^2 - z^2 = c");
    def.box = {-1, 1, -1.5, 1.5, -2, 2};
    def.grid = 24;
    def.sections = "yz";
    def.planes = 5;
    def.params = {{"c", 0.5}};
    def.ranges = {{"c", -1, 1}};
    const DefinitionsRead read = ParseDefinitions(DefinitionsText({def}), "t.toml");
    ASSERT_TRUE(read.problems.empty()) << read.problems.front().English();
    const SurfaceDefinition& back = read.surfaces.at(0);
    EXPECT_EQ(back.equation, def.equation);
    EXPECT_EQ(back.box, def.box);
    EXPECT_EQ(back.grid, 24);
    EXPECT_EQ(back.sections, "yz");
    EXPECT_EQ(back.families, Families::None);
    EXPECT_EQ(back.planes, 5);
    DefinitionProblem problem;
    const std::optional<Wireframe> a = BuildTypedSurface(back, problem);
    def.params[0].second = -0.5;
    const std::optional<Wireframe> b = BuildTypedSurface(def, problem);
    ASSERT_TRUE(a && b);
    EXPECT_NE(a->xs, b->xs);
    const DefinitionsRead bad = ParseDefinitions("[[surface]]\nid = \"e\"\ncaption = \"E\"\nimplicit = \"x\"\nx = \"u\"\n", "t.toml");
    ASSERT_EQ(bad.problems.size(), 1u);
    EXPECT_EQ(bad.problems[0].English(), "t.toml:5: surface 'e': unknown key 'x'");
}

}   // namespace
