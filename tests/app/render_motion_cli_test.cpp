// vexilon-render: sweeps of a parameter, lets and Spanish names, the turn about z, the box fit,
// and their bad inputs.
#include "cli_run_support.h"
#include "gif_decoding.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;

// The folder's name says which tests wrote it, should one be left behind; its files named as
// the strings these tests join into command lines.
struct Folder : TempFolder {
    Folder() : TempFolder("motion") {}
    std::string operator/(const std::string& name) const { return (Path() / name).string(); }
};

std::string Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

std::vector<std::string> Joined(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The frames of the GIF that args write to path.
std::vector<std::vector<std::uint32_t>> GifFrames(const std::vector<std::string>& args, const std::string& path)
{
    const Result r = RunCli(Joined(args, {"-o", path}));
    EXPECT_EQ(r.status, 0) << r.err;
    const DecodedGif gif = DecodeGif(Bytes(path));
    EXPECT_TRUE(gif.ok) << path;
    return gif.frames;
}

long PixelsApart(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b)
{
    long apart = 0;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        apart += a[i] != b[i];
    return apart;
}

const std::vector<std::string> kEgg = {"--x", "a*cos(u)*cos(v)", "--y", "sin(u)*cos(v)", "--z", "sin(v)",
                                       "--u", "0,2*pi", "--v", "-pi/2,pi/2,13", "--zoom", "60"};

TEST(RenderMotionCli, ASweptGifEndsAtTheSingleFramesOfItsEnds)
{
    Folder dir;
    const auto swept = GifFrames(Joined(kEgg, {"--sweep", "a=0.5:2", "--frames", "5"}), dir / "s.gif");
    ASSERT_EQ(swept.size(), 5u);
    auto single = [&](const std::string& a) { return GifFrames(Joined(kEgg, {"--param", "a=" + a}), dir / a + ".gif").at(0); };
    EXPECT_TRUE(swept[0] == single("0.5"));
    EXPECT_TRUE(swept[4] == single("2"));
    EXPECT_TRUE(swept[2] == single("1.25"));   // A + 2 (B - A) / 4
    EXPECT_FALSE(swept[2] == swept[0]);
    EXPECT_FALSE(swept[2] == swept[4]);
    // Numbered files too, each the bytes of its single frame; a value may be a formula.
    ASSERT_EQ(RunCli(Joined(kEgg, {"--sweep", "a=1:pi/2", "--frames", "3", "-o", dir / "n.png"})).status, 0);
    ASSERT_EQ(RunCli(Joined(kEgg, {"--param", "a=pi/2", "-o", dir / "end.png"})).status, 0);
    EXPECT_TRUE(Bytes(dir / "n-0003.png") == Bytes(dir / "end.png"));
    // A gallery surface's parameter, turning at once.
    const auto klein = GifFrames({"-s", "klein8", "--sweep", "r=2:4", "--turn", "4"}, dir / "k.gif");
    ASSERT_EQ(klein.size(), 4u);
    const auto last = GifFrames({"-s", "klein8", "--param", "r=4", "--turn", "4"}, dir / "k4.gif");
    EXPECT_TRUE(klein[3] == last.at(3));
    EXPECT_FALSE(klein[3] == klein[0]);
}

TEST(RenderMotionCli, LetsAndSpanishNamesDrawTheWrittenOutFormulas)
{
    const std::vector<std::string> grid = {"--u", "0,2*pi,19", "--v", "0,2*pi,11", "--format", "trace"};
    const Result written = RunCli(Joined(grid, {"--x", "(3 + cos(v))*cos(u)", "--y", "(3 + cos(v))*sin(u)",
                                                "--z", "sin(v)*sqrt(2)"}));
    const Result lets = RunCli(Joined(grid, {"--let", "r=3 + cos(v)", "--x", "r*cos(u)", "--y", "r*sen(u)",
                                             "--z", "sen(v)*raiz(2)"}));
    ASSERT_EQ(lets.status, 0) << lets.err;
    EXPECT_TRUE(lets.out == written.out);
    // A parameter may be a formula of numbers, pi, e and the parameters before it.
    const Result params = RunCli(Joined(grid, {"--param", "k=pi/2", "--param", "h=2*k", "--x", "h*cos(u)", "--y", "k*sin(u)", "--z", "v"}));
    ASSERT_EQ(params.status, 0) << params.err;
    EXPECT_TRUE(params.out == RunCli(Joined(grid, {"--x", "pi*cos(u)", "--y", "(pi/2)*sin(u)", "--z", "v"})).out);
}

TEST(RenderMotionCli, AZTurnSpinsACylinderInPlaceWhileTheScreenTurnTumblesIt)
{
    Folder dir;
    // 24 meridians and circles of 72 steps: every 15 degrees about z maps the cylinder onto itself.
    const std::vector<std::string> cylinder = {"--x", "cos(u)", "--y", "sin(u)", "--z", "v", "--u", "pi/24,2*pi+pi/24,25",
                                               "--v", "-1,1,5", "--samples", "73", "--turn", "24"};
    const auto z = GifFrames(Joined(cylinder, {"--turn-axis", "z"}), dir / "z.gif");
    const auto screen = GifFrames(cylinder, dir / "s.gif");
    ASSERT_EQ(z.size(), 24u);
    ASSERT_EQ(screen.size(), 24u);
    for (size_t k = 1; k < 24; ++k) {
        EXPECT_EQ(PixelsApart(z[k], z[0]), 0) << "frame " << k;
        EXPECT_GT(PixelsApart(screen[k], screen[0]), 3000) << "frame " << k;
    }
    EXPECT_TRUE(GifFrames(Joined(cylinder, {"--turn-axis", "pantalla"}), dir / "p.gif") == screen);
    // Four meridians: the turn does move it, and each quarter turn brings it back.
    std::vector<std::string> four = Joined(cylinder, {"--turn-axis", "z"});
    four[std::find(four.begin(), four.end(), "--u") - four.begin() + 1] = "pi/24,2*pi+pi/24,5";
    const auto quarters = GifFrames(four, dir / "four.gif");
    ASSERT_EQ(quarters.size(), 24u);
    EXPECT_GT(PixelsApart(quarters[1], quarters[0]), 100);
    for (size_t k : {6u, 12u, 18u})
        EXPECT_EQ(PixelsApart(quarters[k], quarters[0]), 0) << "frame " << k;
}

TEST(RenderMotionCli, ABoxFitDrawsAFlatGraphAsItsTallerSelf)
{
    Folder dir;
    auto graph = [&](const std::string& z, const std::string& fit, const std::string& name) {
        const std::vector<std::string> args = {"--x", "u", "--y", "v", "--z", z, "--u", "-1,1", "--v", "-1,1", "-o", dir / name};
        EXPECT_EQ(RunCli(fit.empty() ? args : Joined(args, {"--fit", fit})).status, 0);
        return Bytes(dir / name);
    };
    EXPECT_TRUE(graph("sin(3*u)*cos(3*v)", "box", "a.png") == graph("0.01*sin(3*u)*cos(3*v)", "box", "b.png"));
    EXPECT_FALSE(graph("sin(3*u)*cos(3*v)", "", "c.png") == graph("0.01*sin(3*u)*cos(3*v)", "", "d.png"));
    EXPECT_TRUE(graph("0.5*u*v", "uniform", "e.png") == graph("0.5*u*v", "", "f.png"));
    EXPECT_TRUE(graph("0.5*u*v", "none", "g.png") == Bytes((RunCli({"--x", "u", "--y", "v", "--z", "0.5*u*v", "--u", "-1,1", "--v", "-1,1",
                                                                "--no-fit", "-o", dir / "h.png"}), dir / "h.png")));
    // A gallery surface takes the fit too.
    ASSERT_EQ(RunCli({"-s", "onda", "--fit", "box", "-o", dir / "onda-box.png"}).status, 0);
    ASSERT_EQ(RunCli({"-s", "onda", "-o", dir / "onda.png"}).status, 0);
    EXPECT_FALSE(Bytes(dir / "onda-box.png") == Bytes(dir / "onda.png"));
}

TEST(RenderMotionCli, BadInputGetsOneMessageStatusTwoAndNoFile)
{
    Folder dir;
    const std::string gif = dir / "out.gif";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {Joined(kEgg, {"--sweep", "a=0", "--frames", "3"}), "--sweep: 'a=0' is not NAME=A:B; accepted: e.g. a=0:1"},
        {Joined(kEgg, {"--sweep", "a=0:1:2", "--frames", "3"}), "--sweep: 'a=0:1:2' is not NAME=A:B"},
        {Joined(kEgg, {"--sweep", "a=0:2*", "--frames", "3"}), "--sweep: '2*': the formula ends too soon"},
        {Joined(kEgg, {"--sweep", "q=0:1", "--frames", "3"}), "--sweep: no formula uses 'q'"},
        {Joined(kEgg, {"--sweep", "a=0:1"}), "--sweep needs frames to sweep over; accepted: with --frames N or --turn N"},
        {{"-s", "klein8", "--sweep", "q=0:1", "--frames", "3"}, "--sweep: surface 'klein8' has no parameter 'q'; accepted: r"},
        {{"-s", "toro", "--sweep", "a=0:1", "--frames", "3"}, "--sweep: surface 'toro' is not given by formulas"},
        {{"-s", "toro", "--turn", "3", "--turn-axis", "w"}, "--turn-axis: 'w' is not an axis; accepted: pantalla or z"},
        {{"-s", "toro", "--turn-axis", "z"}, "--turn-axis chooses the axis of a turn; accepted: with --turn N"},
        {{"-s", "onda", "--fit", "wobbly"}, "--fit: 'wobbly' is not a fit; accepted: uniform, box or none"},
        {Joined(kEgg, {"--param", "a=1", "--let", "p=q", "--let", "q=p*a", "--z", "p"}),
         "--let: the lets use each other in a circle: p -> q -> p"},
        {Joined(kEgg, {"--param", "a=2cos(1)"}), "--param: '2cos(1)': a * is missing between 2 and cos"},
        {Joined(kEgg, {"--param", "a=1", "--let", "r"}), "--let: 'r' is not NAME=FORMULA"},
        {Joined(kEgg, {"--param", "a=1", "--z", "sine(v)"}), "--z: unknown name 'sine' at position 1; did you mean sin?"},
    };
    for (const auto& [args, message] : cases) {
        const Result r = RunCli(Joined(args, {"-o", gif}));
        EXPECT_EQ(r.status, 2) << message;
        EXPECT_NE(r.err.find("vexilon-render: " + message), std::string::npos) << r.err;
        const long lines = std::count(r.err.begin(), r.err.end(), '\n');
        EXPECT_TRUE(lines == 1 || (lines == 3 && message.rfind("--z", 0) == 0)) << r.err;   // a formula's place: two more
        EXPECT_EQ(dir.Entries(), 0u) << message;
    }
    // A file's range whose least is above its greatest leaves that entry out and keeps the others.
    const std::string file = dir / "dos.toml";
    std::ofstream(file) << "[[surface]]\nid = 'mala'\ncaption = 'M'\nx = 'u'\ny = 'v'\nz = 'a*u'\nu = [0, 1, 3]\nv = [0, 1, 3]\n"
                           "params = { a = [1, 0, 0.5] }\n\n"
                           "[[surface]]\nid = 'buena'\ncaption = 'B'\nx = 'u'\ny = 'v'\nz = 'a*u'\nu = [0, 1, 3]\nv = [0, 1, 3]\n"
                           "params = { a = [0, 1, 0.5] }\n";
    const Result bad = RunCli({"--define", file, "-o", dir / "f.png"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("surface 'mala': parameters: the range of 'a' must have its least below its greatest"), std::string::npos)
        << bad.err;
    EXPECT_FALSE(fs::exists(dir / "f.png"));
}

}   // namespace
