// vexilon-render's equation surfaces and plane sections: drawn, hidden, written as curves, read
// from files, swept, and refused.
#include "cli_refusal_support.h"
#include "cli_run_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

const std::vector<std::string> kSphere = {"--implicit", "x^2+y^2+z^2=1", "--box=-2,2,-2,2,-1,1", "--families", "z", "--planes", "6"};

std::vector<std::string> With(std::vector<std::string> args, std::vector<std::string> more)
{
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

std::string Text(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

long Count(const std::string& text, const std::string& part)
{
    long count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

TEST(RenderCliEquation, SixSectionsAreSixCurvesAndHiddenLinesDropTheirBackHalves)
{
    TempDir dir;
    ASSERT_EQ(RenderCli(With(kSphere, {"--theme", "papel", "-o", (dir / "six.svg").string()})), 0);
    const std::string svg = Text(dir / "six.svg");
    EXPECT_EQ(Count(svg, "<path"), 6);
    ASSERT_EQ(RenderCli(With(kSphere, {"--theme", "papel", "--hidden", "-o", (dir / "front.svg").string()})), 0);
    ASSERT_EQ(RenderCli(With(kSphere, {"--theme", "papel", "-o", (dir / "all.svg").string()})), 0);
    // The visible strokes are about half of all: each coordinate has its decimal point.
    const double shown = double(Count(Text(dir / "front.svg"), ".")) / double(Count(Text(dir / "all.svg"), "."));
    EXPECT_GT(shown, 0.35);
    EXPECT_LT(shown, 0.7);
    for (const char* format : {"pdf", "eps", "tikz", "gif"})
        EXPECT_EQ(RenderCli(With(kSphere, {"--hidden=dashed", "--axes", "-o", (dir / (std::string("f.") + format)).string()})), 0) << format;
}

TEST(RenderCliEquation, ADefinitionsFilesEquationDrawsWhatTheOptionDrawsAndALevelSweeps)
{
    TempDir dir;
    { std::ofstream(dir / "e.toml") << "[[surface]]\nid = \"nivel2\"\ncaption = \"Nivel\"\nimplicit = \"x^2 + y^2 - z^2 = c\"\n"
                                       "box = [-2, 2, -2, 2, -1.5, 1.5]\ngrid = 30\nfamilies = \"xz\"\nplanes = 7\nparams = { c = [-1, 1, 0.5] }\n"; }
    ASSERT_EQ(RenderCli({"--define", (dir / "e.toml").string(), "--hidden", "-o", (dir / "file.png").string()}), 0);
    ASSERT_EQ(RenderCli({"--implicit", "x^2 + y^2 - z^2 = c", "--param", "c=0.5", "--box=-2,2,-2,2,-1.5,1.5", "--grid", "30",
                         "--families", "xz", "--planes", "7", "--hidden", "-o", (dir / "option.png").string()}), 0);
    EXPECT_EQ(Text(dir / "file.png"), Text(dir / "option.png"));
    ASSERT_EQ(RenderCli({"--define", (dir / "e.toml").string(), "--sweep", "c=-1:1", "--frames", "3", "-o", (dir / "s.gif").string()}), 0);
    EXPECT_GT(Text(dir / "s.gif").size(), 100u);
    // Sections of a gallery surface given by formulas; with u and v only, today's bytes.
    ASSERT_EQ(RenderCli({"-s", "klein", "--families", "uvz", "-o", (dir / "k.png").string()}), 0);
    ASSERT_EQ(RenderCli({"-s", "klein", "--families", "uv", "-o", (dir / "uv.png").string()}), 0);
    ASSERT_EQ(RenderCli({"-s", "klein", "-o", (dir / "plain.png").string()}), 0);
    EXPECT_EQ(Text(dir / "uv.png"), Text(dir / "plain.png"));
    EXPECT_NE(Text(dir / "k.png"), Text(dir / "plain.png"));
}

TEST(RenderCliEquation, BadEquationsAndSectionsAreRefusedInOneLineWithNoFile)
{
    TempDir dir;
    const std::string out = (dir / "out.png").string();
    auto eq = [&](std::string equation, std::vector<std::string> more = {}) {
        std::vector<std::string> args = {"--implicit", equation};
        args.insert(args.end(), more.begin(), more.end());
        args.insert(args.end(), {"-o", out});
        return args;
    };
    const std::vector<BadInput> cases = {
        {eq("x^2 + u = 1"), 2, "--implicit: 'u' is not a variable of an equation; accepted: x, y, z, the parameters and the lets"},
        {eq("x", {"--box=2,1,-2,2,-2,2"}), 2, "--box: the box's x range 2,1 is empty or not finite; accepted: finite MIN,MAX with MIN < MAX"},
        {eq("x", {"--box=1,2,3"}), 2, "--box: '1,2,3' is not a box; accepted: six numbers"},
        {eq("x", {"--families", "zw"}), 2, "--families: 'zw' is not a family"},
        {eq("x", {"--families", "uv"}), 2, "--families: an equation is drawn by its sections"},
        {eq("x", {"--planes", "0"}), 2, "--planes: '0' is out of range; accepted: a whole number from 1 to 500"},
        {eq("x", {"--planes", "501"}), 2, "--planes: '501' is out of range"},
        {eq("x", {"--grid", "201"}), 2, "--grid: '201' is out of range; accepted: a whole number from 2 to 200"},
        {eq("x^2+y^2+z^2+x*y*z+sin(x)*cos(y)*tan(z)+sinh(x*y)+x^4+y^4+z^4+exp(-x^2)+sqrt(x^2+y^2)=1", {"--grid", "200"}), 2,
         "is too much work; accepted: characters times evaluations at most 200000000"},
        {eq("x^2 + y^2 + z^2 = 100"), 2, "--implicit: the equation has no point in the box -2,2,-2,2,-2,2"},
        {eq("x", {"--x", "u"}), 2, "--implicit and --x cannot be used together"},
        {{"-s", "klein", "--grid", "20", "-o", out}, 2, "--grid: only a surface given by an equation has a box and a grid"},
    };
    for (const BadInput& c : cases)
        ExpectRefused(c, dir, 3);
}

}   // namespace
