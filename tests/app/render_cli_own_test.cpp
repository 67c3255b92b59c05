// vexilon-render's own surfaces: typed formulas and --define files, drawn, composed and refused.
#include "cli_refusal_support.h"
#include "cli_run_support.h"
#include "surfaces/gallery.h"
#include "surfaces/registry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

TEST(RenderCli, BadOwnSurfacesGetAMessageStatusTwoAndNoFile)
{
    TempDir dir;
    const std::string out = (dir / "out.png").string();
    const fs::path broken = fs::temp_directory_path() / "vexilon-cli-broken.toml";
    { std::ofstream(broken) << "[[surface]]\nid = \"a\"\ncaption = \"A\"\nx = \"u\"\ny = \"v\"\nz = \"0\"\nu = [0, 1, 3]\n"; }
    auto with = [&](std::vector<std::string> more) {
        std::vector<std::string> args = {"--x", "u", "--y", "v", "--u", "0,1", "--v", "0,1"};
        args.insert(args.end(), more.begin(), more.end());
        args.insert(args.end(), {"-o", out});
        return args;
    };
    const fs::path empty = fs::temp_directory_path() / "vexilon-cli-empty.toml";
    { std::ofstream(empty) << "[[surface]]\nid = \"vacia\"\ncaption = \"V\"\nx = \"u\"\ny = \"v\"\nz = \"sqrt(-1)\"\nu = [0, 1, 3]\nv = [0, 1, 3]\n"; }
    const std::vector<BadInput> cases = {
        {with({"--z", "u*(v+"}), 2, "--z: the formula ends too soon at position 6"},
        {with({"--z", "u**v"}), 2, "--z: syntax error at position 3"},
        {with({"--z", "w*u"}), 2, "--z: unknown name or symbol 'w' at position 1"},
        {with({"--z", "foo(u)"}), 2, "--z: unknown name or symbol 'foo'"},
        {with({"--z", ""}), 2, "--z: the formula is empty"},
        {with({"--z", "0", "--u", "0,1,x"}), 2, "--u: '0,1,x' is not a range; accepted: A,B or A,B,N"},
        {with({"--z", "0", "--u", "0,2*pi+,5"}), 2, "--u: the formula ends too soon"},
        {with({"--z", "0", "--u", "1,1"}), 2, "--u: the range is empty"},
        {with({"--z", "0", "--v", "0,1,1001"}), 2, "--v: 1001 lines; accepted: 1 to 1000"},
        {with({"--z", "0", "--samples", "10001"}), 2, "--samples: 10001 samples a line; accepted: 2 to 10000"},
        {with({"--z", "0", "--u", "0,1,1000", "--v", "0,1,1000", "--samples", "1001"}), 2, "2002000 samples in all"},
        {with({"--z", "0", "--families", "w"}), 2, "--families: 'w' is not a family; accepted: u, v, x, y, z, each once, e.g. uv, z or uvz"},
        {with({"--z", "0", "--param", "k=2"}), 2, "--param: unknown parameter 'k': no formula uses it"},
        {with({"--z", "k", "--param", "k"}), 2, "--param: 'k' is not NAME=VALUE"},
        {with({"--z", "sqrt(-1-u)"}), 2, "no sample is a finite point"},
        {with({"--z", "0", "-s", "1"}), 2, "-s and a typed surface"},
        {{"--x", "u", "--y", "v", "--z", "0", "--u", "0,1", "-o", out}, 2, "--v is missing"},
        {{"--define", (dir / "none.toml").string(), "-o", out}, 2, "none.toml': cannot be read: No such file or directory"},
        {{"--define", broken.string(), "-o", out}, 2, "vexilon-cli-broken.toml':1: surface 'a': key 'v' is missing"},
        {{"-s", "nada", "--define", broken.string(), "-o", out}, 2, "key 'v' is missing"},
        {{"--define", empty.string(), "-o", out}, 2, "--define: surface 'vacia': no sample is a finite point"},
    };
    for (const BadInput& c : cases)
        ExpectRefused(c, dir, 3);   // a formula's place takes two lines more
    const Result pointed = RunCli(with({"--z", "u**v"}));
    EXPECT_NE(pointed.err.find("\n  u**v\n    ^\n"), std::string::npos) << pointed.err;
    fs::remove(broken);
    fs::remove(empty);
}

TEST(RenderCli, OwnSurfacesDrawAndComposeWithViewsAndFrames)
{
    TempDir dir;
    // The saddle typed on the built-in saddle's grid and units draws the built-in saddle.
    const Result saddle = RunCli({"-s", "silla", "--orbit", "30,-12", "--zoom", "70", "--format", "trace"});
    const Result typed = RunCli({"--x", "10*u", "--y", "10*v", "--z", "u^2-v^2", "--u", "-5,4.6,25", "--v", "-5,4.6,25",
                                 "--samples", "25", "--no-fit", "--orbit", "30,-12", "--zoom", "70", "--format", "trace"});
    ASSERT_EQ(typed.status, 0) << typed.err;
    EXPECT_EQ(typed.out, saddle.out);
    // A gallery surface by name and by number, and --list going on after the eight.
    const Result list = RunCli({"--list"});
    EXPECT_NE(list.out.find("8\tleonardo\tEscalera de Leonardo\n9\tklein\tBotella de Klein\n"), std::string::npos);
    EXPECT_EQ(RunCli({"-s", "klein", "--format", "trace"}).out, RunCli({"-s", "9", "--format", "trace"}).out);
    EXPECT_NE(RunCli({"-s", "klein", "--format", "trace"}).out, RunCli({"-s", "10", "--format", "trace"}).out);
    const Result unknown = RunCli({"-s", "999", "--format", "trace"});
    SurfaceRegistry withGallery;
    const int count = LoadGallery(withGallery).last;
    EXPECT_NE(unknown.err.find("1 to " + std::to_string(count) + ", or a name from --list\n"), std::string::npos)
        << unknown.err;
    EXPECT_GE(count, 32);
    // A file of one surface draws it without -s; of two, -s picks one by its id.
    const fs::path one = dir / "una.toml";
    { std::ofstream(one) << "[[surface]]\nid = \"mia\"\ncaption = \"Mía\"\nx = \"10*u\"\ny = \"10*v\"\nz = \"u^2-v^2\"\n"
                            "u = [-5, 4.6, 25]\nv = [-5, 4.6, 25]\nsamples = 25\nfit = false\n"; }
    const Result fromFile = RunCli({"--define", one.string(), "--orbit", "30,-12", "--zoom", "70", "--format", "trace"});
    ASSERT_EQ(fromFile.status, 0) << fromFile.err;
    EXPECT_EQ(fromFile.out, saddle.out);
    const Result named = RunCli({"-s", "MIA", "--define", one.string(), "--orbit", "30,-12", "--zoom", "70", "--format", "trace"});
    EXPECT_EQ(named.out, saddle.out) << named.err;
    const Result listed = RunCli({"--define", one.string(), "--list"});
    EXPECT_EQ(listed.out, list.out + std::to_string(count + 1) + "\tmia\tMía\n");   // after the gallery
    // Several frames of a typed surface, as for the eight.
    const Result frames = RunCli({"--x", "cos(u)*cos(v)", "--y", "sin(u)*cos(v)", "--z", "sin(v)", "--u", "0,2*pi",
                                  "--v", "-pi/2,pi/2,13", "--param", "a=1", "--x", "a*cos(u)*cos(v)", "--orbit", "40,0",
                                  "--frames", "3", "-o", (dir / "f.png").string()});
    EXPECT_EQ(frames.status, 0) << frames.err;
    EXPECT_TRUE(fs::exists(dir / "f-0003.png"));
}

}   // namespace
