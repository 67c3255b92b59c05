// A teacher's figure as it comes out: the surface framed, the axes hidden by it and numbered in
// the formulas' units, a long title inside the picture, mathematics that pdflatex sets, widths
// kept on paper, ranged and derived parameters, and the formulas' hints.
#include "cli_run_support.h"
#include "figure_support.h"
#include "geometry/view_changes.h"
#include "render/figure.h"
#include "render/frame.h"
#include "surfaces/expression.h"
#include "surfaces/typed_surface.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>

namespace {

Camera FirstCamera(const Wireframe& wire)
{
    ViewState view;
    ResetViewState(view);
    view.surface = kSphere;
    return BeginFrame(view, wire);
}

Wireframe Graph(bool box)
{
    SurfaceDefinition def;
    def.xyz = {"u", "v", "u^2 - v^2"};
    def.u = {"-1", "1", 11};
    def.v = {"-1", "1", 11};
    def.fitEachAxis = box;
    DefinitionProblem problem;
    return *BuildTypedSurface(def, problem);
}

// The larger side of the box of dark pixels of a paper-themed PNG, over its width.
double Fill(const std::string& png)
{
    const DecodedPng image = DecodeAnyPng(png);
    int left = image.width, right = -1, top = image.height, bottom = -1;
    for (int r = 0; r < image.height; ++r)
        for (int c = 0; c < image.width; ++c)
            if (image.Grey(c, r) < 128) {
                left = std::min(left, c), right = std::max(right, c);
                top = std::min(top, r), bottom = std::max(bottom, r);
            }
    return std::max(right - left + 1, bottom - top + 1) / double(image.width);
}

TEST_F(FigureFiles, ZoomAutoFillsNinetyPercentOfTheSquare)
{
    const std::string out = (m_dir / "f.png").string();
    const std::vector<std::vector<std::string>> surfaces = {
        {"-s", "esfera"}, {"-s", "concha"}, {"--x", "u", "--y", "v", "--z", "u^2-v^2", "--u", "-1,1", "--v", "-1,1"}};
    for (std::vector<std::string> args : surfaces) {
        for (const char* more : {"--zoom", "auto", "--theme", "papel", "-o"})
            args.push_back(more);
        args.push_back(out);
        ASSERT_EQ(RunCli(args).status, 0) << args[1];
        const double fill = Fill(ReadWhole(out));
        EXPECT_GE(fill, 0.85) << args[1];
        EXPECT_LE(fill, 0.97) << args[1];
    }
}

// A worksheet's figure: theme, hidden lines, ticks and a title, framed with no zoom of its own;
// a zoom given is kept, and a figure without ticks is framed as ever.
TEST_F(FigureFiles, TicksFrameTheSurfaceUnlessAZoomIsGiven)
{
    const auto drawn = [this](std::vector<std::string> more) {
        std::vector<std::string> args = {"-s", "concha", "--theme", "papel", "--hidden", "--title", "Concha"};
        args.insert(args.end(), more.begin(), more.end());
        const std::string out = (m_dir / "t.png").string();
        args.insert(args.end(), {"-o", out});
        EXPECT_EQ(RunCli(args).status, 0);
        return ReadWhole(out);
    };
    const std::string ticks = drawn({"--ticks"});
    EXPECT_EQ(ticks, drawn({"--ticks", "--zoom", "auto"}));
    EXPECT_EQ(drawn({"--ticks", "--zoom", "50"}), drawn({"--zoom", "50", "--ticks"}));
    EXPECT_NE(ticks, drawn({"--ticks", "--zoom", "50"}));
    EXPECT_EQ(drawn({"--axes"}), drawn({"--axes", "--zoom", "50"}));
}

TEST(TeacherFigure, HiddenLinesHideTheAxesInsideTheSphereAndDashThemOnRequest)
{
    const Wireframe& sphere = BuiltinWireframe(kSphere);
    FrameStyle style;
    style.axes = style.hiddenLines = true;
    for (const bool dashed : {false, true}) {
        style.dashedHidden = dashed;
        Figure figure;
        BuildFigure(FirstCamera(sphere), sphere, style, figure);
        int inside = 0, dashedInside = 0;   // axis pieces passing well within the sphere's disc (radius ~117)
        for (const FigurePath& path : figure.layers.back().paths)
            for (size_t i = 0; i + 1 < path.points.size(); ++i) {
                const FigurePoint a = path.points[i], b = path.points[i + 1];
                const double dx = b.x - a.x, dy = b.y - a.y, length2 = dx * dx + dy * dy;
                const double t = length2 > 0 ? std::clamp(((250.0 - a.x) * dx + (250.0 - a.y) * dy) / length2, 0.0, 1.0) : 0.0;
                if (std::hypot(a.x + dx * t - 250.0, a.y + dy * t - 250.0) < 80.0)
                    ++(path.dashed ? dashedInside : inside);
            }
        EXPECT_EQ(inside, 0);
        EXPECT_EQ(dashedInside > 0, dashed);
    }
}

TEST(TeacherFigure, TicksNumberTheFormulasUnitsAlikeWhateverTheFit)
{
    std::multiset<std::string> numbers[2];
    for (const bool box : {false, true}) {
        const Wireframe graph = Graph(box);
        FrameStyle style;
        style.ticks = true;
        Figure figure;
        BuildFigure(FirstCamera(graph), graph, style, figure);
        for (const FigureText& text : figure.texts)
            if (text.text != "x" && text.text != "y" && text.text != "z")
                numbers[box].insert(text.text);
    }
    EXPECT_EQ(numbers[0], numbers[1]);
    EXPECT_TRUE(numbers[0].count("0,5") && numbers[0].count("\u22120,5")) << "steps of 0.5 over -1 ... 1";
}

TEST_F(FigureFiles, ALongTitleStaysInsideAndMathematicsCompilesInPdflatex)
{
    FrameStyle style;
    style.title = "Desarrollable tangente de una hélice, vista desde arriba y de lado";
    Figure figure;
    const Wireframe& sphere = BuiltinWireframe(kSphere);
    BuildFigure(FirstCamera(sphere), sphere, style, figure);
    for (const FigureText& line : figure.texts)   // fitted: each line's box inside the picture
        EXPECT_LT(line.text.size() * line.height * 0.62 / 0.72 / 2.0, 250.0) << line.text;
    const std::string png = (m_dir / "t.png").string(), tikz = (m_dir / "t.tikz").string();
    ASSERT_EQ(RunCli({"-s", "esfera", "--theme", "papel", "--title", style.title, "-o", png}).status, 0);
    const DecodedPng image = DecodeAnyPng(ReadWhole(png));
    for (int r = 0; r < 50; ++r)   // no letter cut at the edges
        EXPECT_TRUE(image.Grey(0, r) > 128 && image.Grey(image.width - 1, r) > 128) << r;
    ASSERT_EQ(RunCli({"-s", "esfera", "--title", "Silla: $z = x^2 - y^2$, θ ∈ [0, 2π], √2 ≈ 1,41 − 1", "-o", tikz}).status, 0);
    EXPECT_NE(ReadWhole(tikz).find("\\(z = x^{2} - y^{2}\\)"), std::string::npos);
    if (std::system("command -v pdflatex > /dev/null") != 0)
        GTEST_SKIP() << "pdflatex (texlive-latex-base, texlive-pictures) is needed";
    std::ofstream(m_dir / "doc.tex") << "\\documentclass{article}\n\\usepackage{tikz}\n\\begin{document}\n\\input{t.tikz}\n\\end{document}\n";
    EXPECT_EQ(std::system(("cd " + m_dir.string() + " && pdflatex -interaction=nonstopmode -halt-on-error doc.tex > /dev/null").c_str()), 0);
}

TEST_F(FigureFiles, VectorLinesKeepTheirWidthOnPaperAtEverySizeAndWidth)
{
    auto widthIn = [&](std::vector<std::string> args) {
        const std::string out = (m_dir / "w.tikz").string();
        args.insert(args.end(), {"-s", "toro", "--hidden=dashed", "-o", out});
        EXPECT_EQ(RunCli(args).status, 0);
        const std::string text = ReadWhole(out);
        const size_t at = text.find("line width=", text.find("\\begin{scope}"));
        return text.substr(at, text.find(',', at) - at);
    };
    EXPECT_EQ(widthIn({"--size", "500"}), widthIn({"--size", "2400"}));
    EXPECT_EQ(widthIn({"--size", "500"}), widthIn({"--size", "900", "--width", "6cm"}));
    const std::string pdf = (m_dir / "w.pdf").string();
    ASSERT_EQ(RunCli({"-s", "toro", "--width", "80mm", "-o", pdf}).status, 0);
    EXPECT_NE(ReadWhole(pdf).find("/MediaBox [ 0 0 226.77"), std::string::npos);   // 8 cm in points
    EXPECT_EQ(RunCli({"-s", "toro", "--width", "8cm", "-o", (m_dir / "w.png").string()}).status, 2);
    EXPECT_EQ(RunCli({"-s", "toro", "--width", "8", "-o", pdf}).status, 2);
}

TEST_F(FigureFiles, RangedAndDerivedParametersOnTheCommandLine)
{
    const std::vector<std::string> typed = {"--x", "a*cos(u)", "--y", "b*sin(u)", "--z", "v", "--u", "0,2*pi", "--v", "0,1"};
    auto run = [&](std::vector<std::string> more, const std::string& out) {
        std::vector<std::string> args = typed;
        args.insert(args.end(), more.begin(), more.end());
        args.insert(args.end(), {"-o", (m_dir / out).string()});
        return RunCli(args);
    };
    EXPECT_EQ(run({"--param", "a=[0, pi/2, 0.5]", "--param", "b=1"}, "r.png").status, 0);
    EXPECT_EQ(run({"--param", "c=2", "--param", "a=c*2", "--param", "b=1"}, "c.png").status, 0);   // c read by a only
    ASSERT_EQ(run({"--param", "a=1", "--param", "b=a/2", "--sweep", "a=1:2", "--frames", "3"}, "s.png").status, 0);
    ASSERT_EQ(run({"--param", "a=2", "--param", "b=a/2"}, "d.png").status, 0);
    EXPECT_EQ(ReadWhole(m_dir / "s-0003.png"), ReadWhole(m_dir / "d.png"));   // b followed a to 1
    ASSERT_EQ(run({"--param", "a=1", "--param", "b=1", "--sweep", "a=1:2", "--frames", "2", "--label", "--theme", "papel"},
                  "l.png").status, 0);
    ASSERT_EQ(run({"--param", "a=1", "--param", "b=1", "--sweep", "a=1:2", "--frames", "2", "--theme", "papel"}, "n.png").status, 0);
    const DecodedPng labelled = DecodeAnyPng(ReadWhole(m_dir / "l-0002.png")), plain = DecodeAnyPng(ReadWhole(m_dir / "n-0002.png"));
    ASSERT_EQ(labelled.rgb.size(), plain.rgb.size());
    std::set<std::uint32_t> inks;   // "a = 2,00" in the top left corner, in one dark colour; elsewhere the same frame
    for (int r = 0; r < plain.height; ++r)
        for (int c = 0; c < plain.width; ++c)
            if (labelled.At(c, r) != plain.At(c, r)) {
                EXPECT_TRUE(c >= 12 && c < 100 && r >= 12 && r < 40) << c << ", " << r;
                EXPECT_LT(labelled.Grey(c, r), 128);
                inks.insert(labelled.At(c, r));
            }
    EXPECT_EQ(inks.size(), 1u);
}

TEST_F(FigureFiles, ATitledGifOfAnySizeStillOrTurning)
{
    for (const char* frames : {"0", "4"}) {
        const std::string out = (m_dir / "t.gif").string();
        std::vector<std::string> args = {"-s", "toro", "--size", "800", "--title", "Toro", "-o", out};
        if (std::string(frames) != "0")
            args.insert(args.end(), {"--turn", frames});
        ASSERT_EQ(RunCli(args).status, 0) << frames;
        const std::string gif = ReadWhole(out);
        ASSERT_GT(gif.size(), 10u);
        auto word = [&](size_t at) { return (unsigned char)gif[at] | (unsigned char)gif[at + 1] << 8; };
        EXPECT_EQ(word(6), 800);   // the logical screen: the square and its title's band
        EXPECT_EQ(word(8), 880);
    }
}

TEST(TeacherFigure, HintsForAFunctionWithoutParenthesesAndADecimalComma)
{
    for (const auto& [text, hint] : {std::pair{"sen u", "¿quería decir sen(u)?"}, {"3,5*u", "use el punto decimal: 3.5"}}) {
        Formula formula;
        FormulaProblem problem;
        EXPECT_FALSE(formula.Compile(text, {}, problem));
        EXPECT_NE(problem.spanish.find(hint), std::string::npos) << problem.spanish;
    }
}

}   // namespace
