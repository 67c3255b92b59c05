// Hostile input, second round: many lets, sweeps that break the surface or overflow, ranges too
// wide for a slider, and titles or names holding invisible characters of text direction.
#include "cli_run_support.h"
#include "safe_write_support.h"
#include "session/definition_text.h"
#include "surfaces/definitions_file.h"
#include "surfaces/quoted_text.h"
#include "surfaces/typed_surface.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using namespace safe_write_test;

const std::vector<std::string> kPlane = {"--x", "u", "--y", "v", "--z", "u*v", "--u", "-1,1,5", "--v", "-1,1,5"};

std::vector<std::string> With(std::vector<std::string> args, const std::vector<std::string>& more)
{
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

// A chain of n lets, each reading the one before: m0 = u, m1 = m0 + 1, ...
std::string LetsTable(int n)
{
    std::string table = "[[surface]]\nid = \"lets\"\ncaption = \"C\"\nx = \"m" + std::to_string(n - 1) +
                        "\"\ny = \"v\"\nz = \"u*v\"\nu = [0, 1, 3]\nv = [0, 1, 3]\n[surface.let]\nm0 = \"u\"\n";
    for (int i = 1; i < n; ++i)
        table += "m" + std::to_string(i) + " = \"m" + std::to_string(i - 1) + "+1\"\n";
    return table;
}

TEST(HostileLimits, LetsAreCappedAndEachReadsOnlyTheNamesItUses)
{
    TempDir dir;
    // Thousands of lets are refused at once, from options or a file, in one line.
    std::vector<std::string> args = kPlane;
    for (int i = 0; i < 4000; ++i)
        args.insert(args.end(), {"--let", "m" + std::to_string(i) + "=u"});
    Result r = RunCli(With(args, {"-o", dir / "o.png"}));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "vexilon-render: --let: 4000 lets; accepted: at most 100\n");
    std::ofstream(dir / "many.toml") << LetsTable(4000);
    r = RunCli({"--define", dir / "many.toml", "--list"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("4000 lets; accepted: at most 100"), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    fs::remove(dir / "many.toml");

    // At the cap a chain is still evaluated in its order, and a misspelt let still gets its hint.
    SurfaceDefinition def;
    def.xyz = {"m99", "v", "u"};
    def.u = {"0", "1", 2};
    def.v = {"0", "1", 2};
    def.fit = false;
    def.lets.push_back({"m0", "u"});
    for (int i = 1; i < kMaxLets; ++i)
        def.lets.push_back({"m" + std::to_string(i), "m" + std::to_string(i - 1) + "+1"});
    std::swap(def.lets.front(), def.lets.back());   // in any order
    DefinitionProblem problem;
    const std::optional<Wireframe> wire = BuildTypedSurface(def, problem);
    ASSERT_TRUE(wire) << problem.what.english;
    EXPECT_EQ(wire->xs.front(), 99.0);
    def.xyz[1] = "m9x";
    EXPECT_FALSE(CheckDefinition(def, problem));
    EXPECT_EQ(problem.what.english, "unknown name 'm9x' at position 1; did you mean m9?");
    def.xyz[1] = "v";
    def.lets[3].text = "m99";   // a circle through the whole chain
    EXPECT_FALSE(CheckDefinition(def, problem));
    EXPECT_EQ(problem.what.english.rfind("the lets use each other in a circle: ", 0), 0u) << problem.what.english;
}

TEST(HostileLimits, EveryFrameOfASweepIsCheckedBeforeAnyFileIsTouched)
{
    TempDir dir;
    const std::vector<std::string> root = {"--x", "sqrt(a)*cos(u)", "--y", "sin(u)", "--z", "v", "--u", "0,2*pi", "--v", "0,1"};
    for (const std::string name : {"deg-0001.png", "deg-0002.png", "deg-0003.png"})
        Put(dir / name, "the user's own");
    Result r = RunCli(With(root, {"--sweep", "a=1:-1", "--frames", "5", "-o", dir / "deg.png"}));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "vexilon-render: --sweep: at a = -0.5: surface: no sample is a finite point; check the formulas and ranges\n");
    EXPECT_EQ(Read(dir / "deg-0001.png"), "the user's own");
    EXPECT_FALSE(fs::exists(dir / "deg-0004.png"));
    r = RunCli(With(root, {"--sweep", "a=1:-1", "--frames", "5", "-o", dir / "deg.gif"}));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.find("out of domain"), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_FALSE(fs::exists(dir / "deg.gif"));

    // A span past the largest number is refused, on the command line and in a file's range.
    r = RunCli(With(root, {"--sweep", "a=-1e308:1e308", "--frames", "3", "-o", dir / "w.gif"}));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "vexilon-render: --sweep: 'a=-1e308:1e308' spans more than a number holds; accepted: ends less than about 1.7e308 apart\n");
    SurfaceDefinition def;
    def.xyz = {"a*u", "v", "u"};
    def.params = {{"a", 0.0}};
    def.ranges = {{"a", -1.7e308, 1.7e308}};
    DefinitionProblem problem;
    EXPECT_FALSE(CheckDefinition(def, problem));
    EXPECT_EQ(problem.what.english, "the range of 'a' spans more than a number holds; accepted: ends less than about 1.7e308 apart");

    // The values: A(1 - t) + Bt, both ends exact, finite between the largest ends.
    EXPECT_EQ(SweepValues(0.1, 0.7, 4), (std::vector<double>{0.1, 0.1 * (1 - 1.0 / 3) + 0.7 / 3, 0.1 * (1 - 2.0 / 3) + 0.7 * (2.0 / 3), 0.7}));
    for (const double value : SweepValues(1.7e308, -1.7e308, 7))
        EXPECT_TRUE(std::isfinite(value));
}

TEST(HostileLimits, InvisibleCharactersOfTextDirectionAreEscapedAndNoTitle)
{
    TempDir dir;
    Result r = RunCli({"-s", "\u202etoro", "-o", dir / "o.png"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("'\\u202Etoro'"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("\u202e"), std::string::npos);
    EXPECT_EQ(EscapeText("a\u2066b\u2028c\u200fd\xef\xbf\xbe"), "a\\u2066b\\u2028c\\u200Fd\\uFFFE");
    EXPECT_EQ(EscapeText("\xc2\x85"), "\\302\\205");   // a C1 control as before
    for (const std::string title : {"\xef\xbf\xbf", "\xef\xbf\xbe", "a\u202eb", "\u2067x\u2069", "x\u2028y", "\u200e"}) {
        r = RunCli({"-s", "toro", "--title", title, "-o", dir / "t.svg"});
        EXPECT_EQ(r.status, 2) << EscapeText(title);
        EXPECT_NE(r.err.find("--title: "), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find(title), std::string::npos) << r.err;
    }
    EXPECT_EQ(dir.Entries(), 0u);
    EXPECT_EQ(RunCli({"-s", "toro", "--title", "Toro ∈ ℝ³ — θ", "-o", dir / "t.svg"}).status, 0);

    // Typed parameters as the window and the page read them: echoed escaped and cut short.
    SurfaceDefinition params;
    DefinitionProblem problem;
    EXPECT_FALSE(ReadParametersText("\u202ea" + std::string(5000, 'b') + "\n\0x", params, problem));
    EXPECT_EQ(problem.what.spanish.find("\u202e"), std::string::npos);
    EXPECT_LT(problem.what.spanish.size(), 300u);
    EXPECT_EQ(problem.what.spanish.rfind("«\\u202Eabbb", 0), 0u) << problem.what.spanish;
    EXPECT_FALSE(ReadParametersText("\u2066k=1+", params, problem));
    EXPECT_EQ(problem.what.spanish.rfind("«\\u2066k»: ", 0), 0u) << problem.what.spanish;
}

// What the window's box "Superficies no leídas" shows of a hostile superficies.toml: escaped, short.
TEST(HostileLimits, TheWindowsSummaryOfUnreadSurfacesIsEscapedAndBounded)
{
    std::string toml;
    for (int i = 0; i < 30; ++i)
        toml += "[[surface]]\nid = \"\u202eevil" + std::to_string(i) + "\\u0000\"\ncaption = \"" + std::string(3000, 'c') +
                "\u2028\"\nx = \"u\u2066\"\ny = \"v\"\nz = \"u\"\nu = [0, 1, 3]\nv = [0, 1, 3]\n";
    const DefinitionsRead read = ParseDefinitions(toml, "superficies.toml");
    ASSERT_FALSE(read.problems.empty());
    const std::string summary = SpanishSummary(read.problems, 5);
    for (const std::string& raw : {std::string("\u202e"), std::string("\u2028"), std::string("\u2066"), std::string(1, '\0')})
        EXPECT_EQ(summary.find(raw), std::string::npos) << EscapeText(summary);
    EXPECT_LT(summary.size(), 2000u) << summary;
}

}   // namespace
