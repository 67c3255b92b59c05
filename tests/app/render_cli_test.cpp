// vexilon-render: traces for a sequence of view changes, outputs, and every kind of bad input.
#include "app/render_cli.h"
#include "cli_refusal_support.h"
#include "cli_run_support.h"
#include "gif_decoding.h"
#include "geometry/view_changes.h"
#include "render/frame.h"
#include "render/recording_canvas.h"
#include "surfaces/gallery.h"
#include "surfaces/registry.h"
#include "version.h"

#include <gtest/gtest.h>
#include <png.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string NumberedName(const std::string& name, int k)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "-%04d", k);
    return name.substr(0, name.rfind('.')) + digits + name.substr(name.rfind('.'));
}

std::string TraceOf(ViewState view)
{
    RecordingCanvas canvas;
    RenderNextFrame(view, canvas);
    return FormatTrace(canvas.calls);
}

TEST(RenderCli, TraceCountsAtTheResetView)
{
    const Result r = RunCli({"--surface", "toro", "--format", "trace"});
    ASSERT_EQ(r.status, 0) << r.err;
    size_t moves = 0, lines = 0;
    std::istringstream in(r.out);
    for (std::string op; in >> op;) {
        int col, row;
        in >> col >> row;
        moves += op == "M";
        lines += op == "L";
    }
    EXPECT_EQ(moves, 91u);
    EXPECT_EQ(lines, 8281u);
    EXPECT_TRUE(r.err.empty());
}

TEST(RenderCli, SurfacesByNumberAndByNameInAnyCase)
{
    EXPECT_EQ(RunCli({"-s", "5", "--format", "trace"}).out, RunCli({"-s", "TORO", "--format=trace"}).out);
    EXPECT_EQ(RunCli({"-s8", "--format", "trace"}).out, RunCli({"--surface=Leonardo", "--format", "trace"}).out);
    EXPECT_NE(RunCli({"-s", "1", "--format", "trace"}).out, RunCli({"-s", "2", "--format", "trace"}).out);
}

TEST(RenderCli, AppliesChangesInOrderWithACameraUpdatePerFrame)
{
    const Result r = RunCli({"-s", "seno", "--orbit", "100,0", "--zoom", "70", "--orbit", "-30,45", "--distance", "120",
                          "--eye", "50,-60,70", "--orbit", "3,-250", "--format", "trace"});
    ASSERT_EQ(r.status, 0) << r.err;

    ViewState view;
    ResetViewState(view);
    view.surface = kSine;
    UpdateCameraBasis(view);
    OrbitEye(view, {0, 0}, {100, 0});
    UpdateCameraBasis(view);
    SetZoom(view, 70.0);
    UpdateCameraBasis(view);
    OrbitEye(view, {0, 0}, {-30, 45});
    UpdateCameraBasis(view);
    SetEyeDistance(view, 120.0);
    UpdateCameraBasis(view);
    view.eye = {50.0, -60.0, 70.0};
    UpdateCameraBasis(view);
    OrbitEye(view, {0, 0}, {3, -250});
    EXPECT_EQ(r.out, TraceOf(view));

    const Result swapped = RunCli({"-s", "seno", "--orbit", "-30,45", "--orbit", "100,0", "--format", "trace"});
    const Result inOrder = RunCli({"-s", "seno", "--orbit", "100,0", "--orbit", "-30,45", "--format", "trace"});
    EXPECT_NE(swapped.out, inOrder.out);
}

TEST(RenderCli, WritesPngSvgAndTraceFilesByExtension)
{
    TempDir dir;
    ASSERT_EQ(RunCli({"-s", "3", "-o", (dir / "a.png").string()}).status, 0);
    ASSERT_EQ(RunCli({"-s", "3", "-o", (dir / "a.SVG").string()}).status, 0);
    ASSERT_EQ(RunCli({"-s", "3", "-o", (dir / "a.trace").string()}).status, 0);
    ASSERT_EQ(RunCli({"-s", "3", "--format", "png", "-o", (dir / "picture").string()}).status, 0);
    std::ifstream png(dir / "a.png", std::ios::binary);
    std::string magic(8, '\0');
    png.read(magic.data(), 8);
    EXPECT_EQ(magic, "\x89PNG\r\n\x1a\n");
    std::ifstream svg(dir / "a.SVG");
    std::string head((std::istreambuf_iterator<char>(svg)), {});
    EXPECT_NE(head.find("<svg"), std::string::npos);
    std::ifstream trace(dir / "a.trace");
    std::string text((std::istreambuf_iterator<char>(trace)), {});
    EXPECT_EQ(text, RunCli({"-s", "3", "--format", "trace"}).out);
    EXPECT_EQ(dir.Entries(), 4u);   // no temporary file is left beside them
    EXPECT_EQ(fs::file_size(dir / "picture"), fs::file_size(dir / "a.png"));
}

TEST(RenderCli, FramesRepeatTheDragStepsBetweenNumberedFiles)
{
    TempDir dir;
    const Result r = RunCli({"-s", "toro", "--zoom", "60", "--orbit", "5,0", "--orbit", "0,-3", "--frames", "3",
                             "-o", (dir / "turn.trace").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(dir.Entries(), 3u);
    auto read = [&](const std::string& name) {
        std::ifstream in(dir / name);
        return std::string((std::istreambuf_iterator<char>(in)), {});
    };
    // Frame k is the single frame whose command line gives the drag steps k times.
    EXPECT_EQ(read("turn-0001.trace"),
              RunCli({"-s", "toro", "--zoom", "60", "--orbit", "5,0", "--orbit", "0,-3", "--format", "trace"}).out);
    EXPECT_EQ(read("turn-0003.trace"), RunCli({"-s", "toro", "--zoom", "60", "--orbit", "5,0", "--orbit", "0,-3",
                                               "--orbit", "5,0", "--orbit", "0,-3", "--orbit", "5,0", "--orbit",
                                               "0,-3", "--format", "trace"})
                                           .out);
    EXPECT_NE(read("turn-0002.trace"), read("turn-0003.trace"));
    EXPECT_TRUE(r.err.empty());   // no progress line when standard error is not a terminal

    ASSERT_EQ(RunCli({"-s", "1", "--frames", "2", "--format", "png", "-o", (dir / "plain").string()}).status, 0);
    EXPECT_TRUE(fs::exists(dir / "plain-0002"));
    EXPECT_EQ(RunCli({"-s", "1", "--frames", "0", "-o", (dir / "x.png").string()}).status, 2);
    EXPECT_EQ(RunCli({"-s", "1", "--frames", "2", "--format", "trace"}).status, 2);
    const Result missing = RunCli({"-s", "1", "--frames", "2", "-o", (dir / "none" / "x.png").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("x-0001.png"), std::string::npos);
    EXPECT_EQ(dir.Entries(), 5u);
}

std::string FileText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

// A PNG file's pixels as 0xRRGGBB, as the GIF decoding gives them.
std::vector<std::uint32_t> PngColours(const fs::path& path)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    std::vector<std::uint8_t> rgb;
    if (png_image_begin_read_from_file(&image, path.c_str())) {
        image.format = PNG_FORMAT_RGB;
        rgb.resize(PNG_IMAGE_SIZE(image));
        png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr);
    }
    std::vector<std::uint32_t> colours;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3)
        colours.push_back(std::uint32_t{rgb[i]} << 16 | std::uint32_t{rgb[i + 1]} << 8 | rgb[i + 2]);
    return colours;
}

TEST(RenderCli, TurnGivesAGifWhoseFramesAreThePngFilesAndLoops)
{
    TempDir dir;
    ASSERT_EQ(RunCli({"-s", "toro", "--turn", "36", "-o", (dir / "t.gif").string()}).status, 0);
    ASSERT_EQ(RunCli({"-s", "toro", "--turn", "36", "-o", (dir / "t.png").string()}).status, 0);
    ASSERT_EQ(RunCli({"-s", "toro", "-o", (dir / "plain.png").string()}).status, 0);
    EXPECT_EQ(dir.Entries(), 38u);
    EXPECT_EQ(FileText(dir / "t-0001.png"), FileText(dir / "plain.png"));   // frame 1 is the plain view
    const DecodedGif gif = DecodeGif(FileText(dir / "t.gif"));
    ASSERT_TRUE(gif.ok);
    ASSERT_EQ(gif.frames.size(), 36u);
    std::vector<std::string> distinct;
    for (int k = 1; k <= 36; ++k) {
        const fs::path png = dir / NumberedName("t.png", k);
        EXPECT_TRUE(gif.frames[k - 1] == PngColours(png)) << "frame " << k;
        distinct.push_back(FileText(png));
    }
    std::sort(distinct.begin(), distinct.end());
    EXPECT_GE(std::unique(distinct.begin(), distinct.end()) - distinct.begin(), 30);
    EXPECT_EQ(gif.loopCount, 0);
    EXPECT_EQ(gif.delays, std::vector<int>(36, 4));   // 25 frames a second by default
    EXPECT_LE(fs::file_size(dir / "t.gif"), 300u * 1024);

    ASSERT_EQ(RunCli({"-s", "toro", "--turn", "4", "--fps", "20", "-o", (dir / "slow.gif").string()}).status, 0);
    EXPECT_EQ(DecodeGif(FileText(dir / "slow.gif")).delays, std::vector<int>(4, 5));   // 50 ms
    // Standard output gets the same bytes as a file.
    EXPECT_EQ(RunCli({"-s", "toro", "--turn", "4", "--fps", "20", "--format", "gif", "-o", "-"}).out,
              FileText(dir / "slow.gif"));
}

TEST(RenderCli, TurnComposesWithViewChangesAndFramesMakeAGifToo)
{
    TempDir dir;
    const std::vector<std::string> view = {"-s", "silla", "--zoom", "70", "--orbit", "30,-80", "--eye", "90,-40,60"};
    auto with = [&](std::vector<std::string> more) {
        more.insert(more.begin(), view.begin(), view.end());
        return RunCli(more);
    };
    ASSERT_EQ(with({"--turn", "3", "-o", (dir / "t.trace").string()}).status, 0);
    EXPECT_EQ(dir.Entries(), 3u);
    EXPECT_EQ(FileText(dir / "t-0001.trace"), with({"--format", "trace"}).out);
    EXPECT_NE(FileText(dir / "t-0002.trace"), FileText(dir / "t-0003.trace"));

    ASSERT_EQ(with({"--frames", "3", "-o", (dir / "f.png").string()}).status, 0);
    ASSERT_EQ(with({"--frames", "3", "-o", (dir / "f.gif").string()}).status, 0);
    const DecodedGif gif = DecodeGif(FileText(dir / "f.gif"));
    ASSERT_EQ(gif.frames.size(), 3u);
    for (int k = 1; k <= 3; ++k)
        EXPECT_TRUE(gif.frames[k - 1] == PngColours(dir / NumberedName("f.png", k))) << "frame " << k;
    // One frame without --turn or --frames is a still GIF.
    ASSERT_EQ(with({"-o", (dir / "still.gif").string()}).status, 0);
    const DecodedGif still = DecodeGif(FileText(dir / "still.gif"));
    ASSERT_EQ(still.frames.size(), 1u);
    EXPECT_TRUE(still.frames[0] == PngColours(dir / "f-0001.png"));
}

TEST(RenderCli, NewFilesFollowTheUmaskLikeAnyOther)
{
    TempDir dir;
    const mode_t old = umask(027);
    const int status = RunCli({"-s", "2", "-o", (dir / "mode.png").string()}).status;
    umask(old);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(fs::status(dir / "mode.png").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(RenderCli, InformationalOptions)
{
    EXPECT_EQ(RunCli({"--version"}).out, std::string("vexilon-render ") + kVexilonVersion + "\n");
    const Result list = RunCli({"--list"});
    EXPECT_EQ(list.status, 0);
    EXPECT_NE(list.out.find("5\ttoro\tToro\n"), std::string::npos);
    EXPECT_NE(list.out.find("8\tleonardo\tEscalera de Leonardo\n"), std::string::npos);
    const Result help = RunCli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--orbit TX,TY"), std::string::npos);
}

TEST(RenderCli, BadInputGetsAMessageAStatusAndNoFile)
{
    TempDir dir;
    const std::string out = (dir / "out.png").string();
    const std::string gif = (dir / "out.gif").string();
    const std::vector<BadInput> cases = {
        {{"-s", "999", "-o", out}, 2, "unknown surface '999'; accepted: 1 to "},
        {{"-s", "cubo", "-o", out}, 2, "unknown surface 'cubo'"},
        {{"-o", out}, 2, "no surface given"},
        {{"-s", "1", "--bogus", "-o", out}, 2, "unknown option '--bogus'"},
        {{"-s", "1", "--zoom", "abc", "-o", out}, 2, "--zoom: 'abc' is not a number; accepted: a number from 0 to 1000, or auto"},
        {{"-s", "1", "--zoom", "1001", "-o", out}, 2, "--zoom: '1001' is out of range"},
        {{"-s", "1", "--zoom", "nan", "-o", out}, 2, "--zoom: 'nan' is not a number"},
        {{"-s", "1", "--zoom", "5x", "-o", out}, 2, "--zoom: '5x' is not a number"},
        {{"-s", "1", "--distance", "19.9", "-o", out}, 2, "--distance: '19.9' is out of range; accepted: a number from 20 to 300"},
        {{"-s", "1", "--distance", "-o", out}, 2, "--distance: '-o' is not a number"},
        {{"-s", "1", "--orbit", "1", "-o", out}, 2, "--orbit: '1' is not a pair of whole numbers"},
        {{"-s", "1", "--orbit", "1.5,2", "-o", out}, 2, "--orbit: '1.5,2' is not a pair"},
        {{"-s", "1", "--orbit", "99999999999,0", "-o", out}, 2, "--orbit: '99999999999,0'"},
        {{"-s", "1", "--eye", "0,0,0", "-o", out}, 2, "--eye: '0,0,0' is the target"},
        {{"-s", "1", "--eye", "1,2", "-o", out}, 2, "--eye: '1,2' is not three numbers"},
        {{"-s", "1", "--eye", "1e308,1e308,1e308", "-o", out}, 2, "is too far away"},
        {{"-s", "1", "--zoom"}, 2, "--zoom needs a value"},
        {{"-s", "1", "--format", "jpeg", "-o", out}, 2, "--format: unknown format 'jpeg'; accepted: png, svg, trace, gif"},
        {{"-s", "1", "-o", (dir / "out.jpg").string()}, 2, "cannot tell the format of"},
        {{"-s", "1", "--turn", "0", "-o", gif}, 2, "--turn: '0' is not a whole number from 1 to 1000000"},
        {{"-s", "1", "--turn", "-3", "-o", gif}, 2, "--turn: '-3' is not a whole number"},
        {{"-s", "1", "--turn", "ten", "-o", gif}, 2, "--turn: 'ten' is not a whole number"},
        {{"-s", "1", "--turn", "2.5", "-o", gif}, 2, "--turn: '2.5' is not a whole number"},
        {{"-s", "1", "--turn", "4", "--fps", "0", "-o", gif}, 2, "--fps: '0' is not a whole number from 1 to 50"},
        {{"-s", "1", "--turn", "4", "--fps", "51", "-o", gif}, 2, "--fps: '51' is not a whole number from 1 to 50"},
        {{"-s", "1", "--turn", "4", "--fps", "fast", "-o", gif}, 2, "--fps: 'fast' is not a whole number"},
        {{"-s", "1", "--turn", "4", "--frames", "4", "-o", gif}, 2, "--turn and --frames"},
        {{"-s", "1", "--fps", "20", "-o", gif}, 2, "--fps sets the rate of an animated GIF"},
        {{"-s", "1", "--turn", "4", "--fps", "20", "-o", out}, 2, "--fps sets the rate of an animated GIF"},
        {{"-s", "1", "--turn", "4", "--format", "trace"}, 2, "--turn writes numbered files"},
        {{"-s", "1", "--turn", "4", "-o", (dir / "missing" / "t.gif").string()}, 1, "cannot write"},
        {{"-s", "1"}, 2, "no output given"},
        {{"-s", "1", "--format", "png"}, 2, "no output file given"},
        {{"-s", "1", "--version=3"}, 2, "--version takes no value"},
        {{"-s", "1", "-o", (dir / "missing" / "out.png").string()}, 1, "cannot write"},
        {{"-s", "1", "--format", "png", "-o", (dir / "").string()}, 1, "cannot write"},
    };
    for (const BadInput& c : cases)
        ExpectRefused(c, dir, 1);
}

TEST(RenderCli, FailedWriteKeepsTheOldFileAndLeavesNoTemporary)
{
    TempDir dir;
    const fs::path target = dir / "keep.png";
    { std::ofstream(target) << "old"; }
    // A directory in the way of the rename: the write fails, the old content of others stays.
    fs::create_directory(dir / "taken.png");
    const Result r = RunCli({"-s", "1", "-o", (dir / "taken.png").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("taken.png"), std::string::npos);
    EXPECT_EQ(dir.Entries(), 2u);
    std::ifstream in(target);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(text, "old");
}

TEST(RenderCli, ProgramExitsWithTheStatusOfItsErrors)
{
    const std::string program = VEXILON_RENDER_PATH;
    const int usage = std::system((program + " -s 0 -o /dev/null 2>/dev/null").c_str());
    ASSERT_TRUE(WIFEXITED(usage));
    EXPECT_EQ(WEXITSTATUS(usage), 2);
    const int full = std::system((program + " -s 1 --format trace >/dev/full 2>/dev/null").c_str());
    ASSERT_TRUE(WIFEXITED(full));
    EXPECT_EQ(WEXITSTATUS(full), 1);
    const int ok = std::system((program + " -s 1 --format trace >/dev/null").c_str());
    EXPECT_EQ(WEXITSTATUS(ok), 0);
    // The program finds the gallery beside itself, without the tests' environment.
    const int gallery = std::system(("env -u VEXILON_GALLERY " + program + " -s klein --format trace >/dev/null").c_str());
    EXPECT_EQ(WEXITSTATUS(gallery), 0);
}

}   // namespace
