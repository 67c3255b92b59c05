// A surface's section by a plane: the curves from the facets, their units, and --section's figure.
#include "cli_run_support.h"
#include "figure_support.h"
#include "geometry/view_changes.h"
#include "render/figure.h"
#include "render/figure_picture.h"
#include "render/frame.h"
#include "render/theme.h"
#include "surfaces/registry.h"
#include "surfaces/section.h"
#include "surfaces/typed_surface.h"

#include <algorithm>
#include <cmath>

namespace {

// The farthest and nearest distance of a section's points from the axis through the origin.
std::pair<double, double> RadiiAbout(const SectionCurve& curve, SectionAxis axis)
{
    double least = INFINITY, most = 0.0;
    for (const Vec3& p : curve.points) {
        const double r = axis == SectionAxis::Z ? std::hypot(p.x, p.y) : axis == SectionAxis::Y ? std::hypot(p.x, p.z) : std::hypot(p.y, p.z);
        least = std::min(least, r);
        most = std::max(most, r);
    }
    return {least, most};
}

TEST(Section, TheSphereByPlanesIsOneClosedCircleOfItsRadiusOrNothing)
{
    const Wireframe& sphere = BuiltinWireframe(kSphere);
    for (const double height : {0.0, 20.0, -30.0}) {
        const auto curves = SectionOf(sphere, {SectionAxis::Z, height});
        ASSERT_EQ(curves.size(), 1u) << height;
        const SectionCurve& circle = curves[0];
        EXPECT_TRUE(circle.closed);
        EXPECT_EQ(circle.points.front().x, circle.points.back().x);
        EXPECT_GT(circle.points.size(), 30u);
        const double radius = std::sqrt(35.0 * 35.0 - height * height);
        const auto [least, most] = RadiiAbout(circle, SectionAxis::Z);
        EXPECT_GT(least, radius * 0.99) << height;   // chords of 10 degrees lie inside the sphere
        EXPECT_LE(most, radius * 1.0000001) << height;
        for (const Vec3& p : circle.points)
            ASSERT_EQ(p.z, height);
    }
    for (const SectionAxis axis : {SectionAxis::X, SectionAxis::Y}) {   // y = 0 holds the seam's meridian
        const auto great = SectionOf(sphere, {axis, 0.0});
        ASSERT_EQ(great.size(), 1u);
        EXPECT_TRUE(great[0].closed);
    }
    EXPECT_TRUE(SectionOf(sphere, {SectionAxis::Z, 36.0}).empty());
    EXPECT_TRUE(SectionOf(sphere, {SectionAxis::Y, -40.0}).empty());
    EXPECT_EQ(SectionOf(BuiltinWireframe(kTorus), {SectionAxis::Z, 0.0}).size(), 2u);   // the two equators
    for (SurfaceKind kind = kMoebius; kind <= kLeonardoStair; ++kind)
        EXPECT_FALSE(BuiltinWireframe(kind).triangles.empty()) << kind;
}

TEST(Section, TypedSurfacesAreCutInTheFormulasUnitsThroughTheirFit)
{
    SurfaceDefinition ellipsoid;   // semi-axes 4, 2, 1 about (1, 0, 3)
    ellipsoid.xyz = {"1 + 4*sin(u)*cos(v)", "2*sin(u)*sin(v)", "3 + cos(u)"};
    ellipsoid.u = {"0", "pi", 37};
    ellipsoid.v = {"0", "2*pi", 73};
    for (const bool eachAxis : {false, true}) {
        ellipsoid.fitEachAxis = eachAxis;
        DefinitionProblem problem;
        const auto wire = BuildTypedSurface(ellipsoid, problem);
        ASSERT_TRUE(wire);
        const auto extent = SectionExtent(*wire, SectionAxis::Z);
        ASSERT_TRUE(extent);
        EXPECT_NEAR(extent->first, 2.0, 1e-9);
        EXPECT_NEAR(extent->second, 4.0, 1e-9);
        // z = 3.5: x = 1 + 4 s cos v, y = 2 s sin v with s = sqrt(3)/2; back in the formulas' units.
        const auto curves = SectionOf(*wire, {SectionAxis::Z, 3.5});
        ASSERT_EQ(curves.size(), 1u);
        EXPECT_TRUE(curves[0].closed);
        const double s = std::sqrt(0.75);
        for (const Vec3& p : curves[0].points) {
            const double x = p.x / wire->unitScale.x + wire->unitOffset.x, y = p.y / wire->unitScale.y + wire->unitOffset.y;
            const double e = ((x - 1) / (4 * s)) * ((x - 1) / (4 * s)) + (y / (2 * s)) * (y / (2 * s));
            ASSERT_NEAR(e, 1.0, 0.02) << eachAxis;
            ASSERT_NEAR(p.z / wire->unitScale.z + wire->unitOffset.z, 3.5, 1e-12);
        }
    }
}

TEST(Section, PointsOnThePlaneNansAndRepeatsGiveEachPieceOnce)
{
    // A strip whose middle edges A-B-C lie in z = 0: above them two facets each, below A-B one
    // (twice), one of no area and one with a point that is not finite; B-C is the strip's rim.
    Wireframe wire;
    const Vec3 points[] = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {0, 1, 1}, {1, 1, 1}, {2, 1, 1}, {0, -1, -1}, {1, -1, -1}, {NAN, 0, -1}};
    for (const Vec3& p : points) {
        wire.xs.push_back(p.x);
        wire.ys.push_back(p.y);
        wire.zs.push_back(p.z);
    }
    wire.triangles = {0, 1, 4, 0, 4, 3, 1, 2, 5, 1, 5, 4, 0, 1, 7, 0, 7, 6, 1, 0, 7, 0, 0, 7, 2, 8, 1, 0, 1, 99};
    const auto curves = SectionOf(wire, {SectionAxis::Z, 0.0});
    ASSERT_EQ(curves.size(), 1u);
    EXPECT_FALSE(curves[0].closed);
    ASSERT_EQ(curves[0].points.size(), 3u);
    EXPECT_EQ(curves[0].points[1].x, 1.0);
    EXPECT_EQ(curves[0].points[0].x + curves[0].points[2].x, 2.0);
    EXPECT_TRUE(SectionOf(Wireframe{}, {SectionAxis::Z, 0.0}).empty());   // no facets: nothing to cut
}

TEST(Section, PlanesAreReadAsAxisEqualsNumberOnly)
{
    const auto plane = ParseSectionPlane(" z = -0.5 ");
    ASSERT_TRUE(plane);
    EXPECT_EQ(plane->axis, SectionAxis::Z);
    EXPECT_EQ(plane->value, -0.5);
    EXPECT_EQ(ParseSectionPlane(SectionPlaneText({SectionAxis::Y, 0.1})), (SectionPlane{SectionAxis::Y, 0.1}));
    for (const char* bad : {"z", "w=1", "z=", "z=abc", "z=nan", "z=inf", "z=1e999", "x=1,2", "=1", "z=0x10", "zz=1"})
        EXPECT_FALSE(ParseSectionPlane(bad)) << bad;
}

Camera FirstCamera(int surface)
{
    ViewState view;
    ResetViewState(view);
    view.surface = surface;
    return BeginFrame(view, BuiltinWireframe(surface));
}

long AccentPixels(const FrameStyle& style)
{
    Figure figure;
    BuildFigure(FirstCamera(kSphere), BuiltinWireframe(kSphere), style, figure);
    FigurePicture picture;
    RasterizeFigure(figure, picture);
    const Rgb accent = InfoOf(style.theme).accent;
    long count = 0;
    for (int r = 0; r < picture.height; ++r)
        for (int c = 0; c < picture.width; ++c)
            count += picture.ColourAt(c, r) == accent;
    return count;
}

TEST(SectionFigure, HiddenLinesKeepTheSeenHalfOfTheEquator)
{
    FrameStyle style;
    style.theme = Theme::Papel;
    style.section = SectionPlane{SectionAxis::Z, 0.0};
    const long whole = AccentPixels(style);
    style.hiddenLines = true;
    const long seen = AccentPixels(style);
    EXPECT_GT(whole, 1000);
    EXPECT_GT(seen, whole * 0.35);
    EXPECT_LT(seen, whole * 0.65);
    Figure figure;
    BuildFigure(FirstCamera(kSphere), BuiltinWireframe(kSphere), style, figure);
    ASSERT_EQ(figure.layers.size(), 2u);
    EXPECT_EQ(figure.WidthOf(figure.layers[1]), 2);   // heavier than the surface's lines
}

TEST_F(FigureFiles, SectionIsInEveryFormatAndAMissingPlaneAddsNothing)
{
    const std::string a = (m_dir / "a.png").string(), b = (m_dir / "b.png").string();
    ASSERT_EQ(RunCli({"-s", "esfera", "--theme", "papel", "--section", "z=99", "-o", a}).status, 0);
    ASSERT_EQ(RunCli({"-s", "esfera", "--theme", "papel", "-o", b}).status, 0);
    EXPECT_TRUE(DecodeAnyPng(ReadWhole(a)).rgb == DecodeAnyPng(ReadWhole(b)).rgb);   // the same pixels
    for (const char* ext : {".svg", ".pdf", ".eps", ".tikz", ".gif"}) {
        const std::string out = (m_dir / (std::string("s") + ext)).string();
        EXPECT_EQ(RunCli({"-s", "toro", "--theme", "papel", "--hidden", "--section", "x=0", "-o", out}).status, 0) << ext;
        EXPECT_GT(fs::file_size(out), 100u) << ext;
    }
    const std::string svg = ReadWhole(m_dir / "s.svg");
    EXPECT_NE(svg.find("stroke-width=\"2\" stroke-linecap=\"round\" stroke-linejoin=\"round\" stroke=\"#cc3300\""), std::string::npos);
    EXPECT_EQ(RunCli({"-s", "toro", "--turn", "3", "--section", "z=5", "-o", (m_dir / "t.gif").string()}).status, 0);
}

TEST_F(FigureFiles, BadSectionsAreRefusedInOneLineAndWriteNothing)
{
    const std::string out = (m_dir / "x.png").string();
    for (const char* bad : {"z", "w=1", "z=abc", "z=inf"}) {
        const Result r = RunCli({"-s", "toro", "--section", bad, "-o", out});
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_NE(r.err.find("x=C, y=C or z=C"), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_FALSE(fs::exists(out));
    }
    EXPECT_EQ(RunCli({"-s", "toro", "--section", "z=0", "--format", "trace"}).status, 2);
}

}   // namespace
