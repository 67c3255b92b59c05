// Styled frames through vexilon-render: the options, their errors, and files that show the frame.
#include "app/render_cli.h"
#include "cli_run_support.h"
#include "geometry/view_changes.h"
#include "render/frame.h"
#include "render/raster_canvas.h"
#include "surfaces/registry.h"
#include "temp_folder.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The PNG's 500 x 500 pixels as 0xAARRGGBB.
std::vector<std::uint32_t> DecodePng(const std::string& bytes)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    EXPECT_TRUE(png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()));
    image.format = PNG_FORMAT_BGRA;
    std::vector<std::uint32_t> pixels(500 * 500);
    EXPECT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
    return pixels;
}

// The SVG's paths replayed with the pictures' own line drawing.
RasterCanvas RasteriseSvg(const std::string& svg)
{
    RasterCanvas picture;
    auto colourAfter = [&](size_t from, const char* name) {
        const size_t at = svg.find(name, from) + std::string(name).size();
        const unsigned long c = std::stoul(svg.substr(at, 6), nullptr, 16);
        return Rgb{std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c)};
    };
    if (const size_t rect = svg.find("<rect x=\"0.5\" y=\"0.5\" width=\"499\" height=\"499\""); rect != std::string::npos) {
        picture.SelectPen(colourAfter(rect, "stroke=\"#"));
        picture.Rectangle(0, 0, 500, 500, colourAfter(rect, "fill=\"#"));
    }
    for (size_t at = svg.find("<path "); at != std::string::npos; at = svg.find("<path ", at + 1)) {
        picture.SelectPen(colourAfter(at, "stroke=\"#"));
        const size_t d = svg.find(" d=\"", at) + 4;
        const bool lighten = svg.substr(at, d - at).find("mix-blend-mode:lighten") != std::string::npos;
        std::istringstream commands(svg.substr(d, svg.find('"', d) - d));
        char op;
        double col, row;
        while (commands >> op >> col >> row) {
            const Pixel p{static_cast<int>(std::floor(col)), static_cast<int>(std::floor(row))};
            if (op == 'M')
                picture.MoveTo(p);
            else if (lighten)
                picture.LightenTo(p);
            else
                picture.LineTo(p);
        }
    }
    return picture;
}

class StyledOutput : public ::testing::Test {
protected:
    TempFolder m_dir{"style"};
};

TEST_F(StyledOutput, HiddenLineSvgOfTheTorusShowsWhatItsPngShows)
{
    for (const std::vector<std::string>& view :
         {std::vector<std::string>{}, {"--orbit", "40,-90", "--distance", "90"}, {"--anaglyph", "--depth-cue"}}) {
        std::vector<std::string> svgArgs = {"-s", "toro", "--hidden", "-o", (m_dir / "t.svg").string()};
        std::vector<std::string> pngArgs = {"-s", "toro", "--hidden", "-o", (m_dir / "t.png").string()};
        svgArgs.insert(svgArgs.end(), view.begin(), view.end());
        pngArgs.insert(pngArgs.end(), view.begin(), view.end());
        ASSERT_EQ(RunCli(svgArgs).status, 0);
        ASSERT_EQ(RunCli(pngArgs).status, 0);
        const std::string svg = ReadFile(m_dir / "t.svg");
        const RasterCanvas fromSvg = RasteriseSvg(svg);
        const std::vector<std::uint32_t> png = DecodePng(ReadFile(m_dir / "t.png"));
        long long ink = 0;
        for (int row = 0; row < 500; ++row)
            for (int col = 0; col < 500; ++col) {
                ASSERT_EQ(fromSvg.PixelAt(col, row), png[size_t(row) * 500 + col]) << col << "," << row;
                ink += (png[size_t(row) * 500 + col] & 0xFFFFFF) != 0;
            }
        EXPECT_GT(ink, 5000);
        ASSERT_EQ(RunCli({"-s", "toro", "-o", (m_dir / "plain.svg").string()}).status, 0);
        EXPECT_NE(svg, ReadFile(m_dir / "plain.svg"));
    }
}

TEST_F(StyledOutput, ManyColouredPicturesComeBackFromTheirPngsPixelForPixel)
{
    FrameStyle cue, stereo;
    cue.depthCue = true;
    stereo.anaglyph = stereo.depthCue = stereo.hiddenLines = true;
    stereo.lineWidth = 2;
    const std::vector<std::pair<FrameStyle, std::vector<std::string>>> cases = {
        {cue, {"--depth-cue"}}, {stereo, {"--anaglyph", "--depth-cue", "--hidden", "--line-width", "2"}}};
    for (const auto& [style, options] : cases) {
        std::vector<std::string> args = {"-s", "seno", "--orbit", "30,20", "-o", (m_dir / "c.png").string()};
        args.insert(args.end(), options.begin(), options.end());
        ASSERT_EQ(RunCli(args).status, 0);
        ViewState view;
        ResetViewState(view);
        view.surface = kSine;
        const Wireframe& wire = BuiltinWireframe(kSine);
        BeginFrame(view, wire);
        OrbitEye(view, {0, 0}, {30, 20});
        RasterCanvas expected;
        DrawFrame(BeginFrame(view, wire), wire, style, expected);
        const std::vector<std::uint32_t> png = DecodePng(ReadFile(m_dir / "c.png"));
        for (int row = 0; row < 500; ++row)
            for (int col = 0; col < 500; ++col)
                ASSERT_EQ(png[size_t(row) * 500 + col], expected.PixelAt(col, row)) << options[0] << " " << col << "," << row;
    }
}

TEST_F(StyledOutput, ParallelProjectionIgnoresTheDistanceAndPerspectiveDoesNot)
{
    auto trace = [](std::vector<std::string> extra) {
        std::vector<std::string> args = {"-s", "caracol", "--orbit", "20,-60", "--format", "trace"};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunCli(args).out;
    };
    EXPECT_EQ(trace({"--parallel", "--distance", "60"}), trace({"--parallel", "--distance", "300"}));
    EXPECT_EQ(trace({"--parallel", "--distance", "60"}), trace({"--parallel"}));
    EXPECT_NE(trace({"--distance", "60"}), trace({"--distance", "300"}));
}

TEST_F(StyledOutput, BadStyleOptionsSayWhatIsAcceptedAndWriteNothing)
{
    const std::string out = (m_dir / "x.png").string();
    for (const char* width : {"0", "5", "2.5", "two", ""}) {
        const Result r = RunCli({"-s", "1", "--line-width", width, "-o", out});
        EXPECT_EQ(r.status, 2) << width;
        EXPECT_NE(r.err.find("--line-width"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("1 to 4"), std::string::npos) << r.err;
    }
    const Result swap = RunCli({"-s", "1", "--swap-eyes", "-o", out});
    EXPECT_EQ(swap.status, 2);
    EXPECT_NE(swap.err.find("--anaglyph"), std::string::npos) << swap.err;
    EXPECT_EQ(RunCli({"-s", "1", "--hidden=yes", "-o", out}).status, 2);
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(RunCli({"-s", "1", "--anaglyph", "--swap-eyes", "--line-width", "4", "-o", out}).status, 0);
    EXPECT_TRUE(fs::exists(out));
}

TEST_F(StyledOutput, HelpNamesEveryStyleOption)
{
    const std::string help = RunCli({"--help"}).out;
    for (const char* option : {"--hidden", "--depth-cue", "--anaglyph", "--swap-eyes", "--parallel", "--line-width"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
}

}   // namespace
