// Figures through vexilon-render and the encoder: their size, themes, dashes, axes, title and errors.
#include "cli_run_support.h"
#include "export/frame_encoder.h"
#include "figure_support.h"
#include "geometry/view_changes.h"
#include "render/figure.h"
#include "render/figure_picture.h"
#include "render/frame.h"
#include "render/theme.h"
#include "surfaces/registry.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace {

Camera FirstCamera(int surface)
{
    ViewState view;
    ResetViewState(view);
    view.surface = surface;
    return BeginFrame(view, BuiltinWireframe(surface));
}

// The figure's own pixels, drawn without the encoder's shortcut for recoloured frames.
FigurePicture FigurePixelsOf(const Camera& camera, const Wireframe& wire, const FrameStyle& style)
{
    Figure figure;
    BuildFigure(camera, wire, style, figure);
    FigurePicture picture;
    RasterizeFigure(figure, picture);
    return picture;
}

// Whether every lit cell of a (side x side) has a lit cell of b within one cell.
int Unmatched(const std::vector<bool>& a, const std::vector<bool>& b, int side)
{
    int missing = 0;
    for (int r = 0; r < side; ++r)
        for (int c = 0; c < side; ++c) {
            if (!a[size_t(r) * side + c])
                continue;
            bool near = false;
            for (int dr = -1; dr <= 1 && !near; ++dr)
                for (int dc = -1; dc <= 1 && !near; ++dc) {
                    const int rr = r + dr, cc = c + dc;
                    near = rr >= 0 && cc >= 0 && rr < side && cc < side && b[size_t(rr) * side + cc];
                }
            missing += !near;
        }
    return missing;
}

// The big picture's 4 x 4 blocks, each lit when any of its pixels is.
std::vector<bool> Blocks(const std::vector<bool>& big, int side, int factor)
{
    const int small = side / factor;
    std::vector<bool> blocks(size_t(small) * small);
    for (int r = 0; r < side; ++r)
        for (int c = 0; c < side; ++c)
            if (big[size_t(r) * side + c])
                blocks[size_t(r / factor) * small + c / factor] = true;
    return blocks;
}

TEST(Figure, TwoThousandPixelsAreTheFiveHundredDrawingAtFourTimes)
{
    for (const int surface : {kTorus, kSine, kSphere, kMoebius}) {
        const Wireframe& wire = BuiltinWireframe(surface);
        const Camera camera = FirstCamera(surface);
        IndexedCanvas plain;
        DrawFrame(camera, wire, plain);
        std::vector<bool> small(500 * 500);
        for (int r = 0; r < 500; ++r)
            for (int c = 0; c < 500; ++c)
                small[size_t(r) * 500 + c] = plain.Palette()[plain.PixelAt(c, r)] == kSurfaceBlue;
        FrameStyle style;
        style.size = 2000;
        FrameEncoder big(OutputFormat::Png);
        big.Draw(camera, wire, style);
        ASSERT_EQ(big.FigurePixels().width, 2000);
        std::vector<bool> lines(2000 * 2000);
        for (int r = 0; r < 2000; ++r)
            for (int c = 0; c < 2000; ++c)
                lines[size_t(r) * 2000 + c] = big.FigurePixels().ColourAt(c, r) == kSurfaceBlue;
        const std::vector<bool> blocks = Blocks(lines, 2000, 4);
        const long lit = std::count(small.begin(), small.end(), true);
        ASSERT_GT(lit, 2000) << surface;
        EXPECT_EQ(Unmatched(blocks, small, 500), 0) << surface;   // each lit block lies on the small line
        EXPECT_EQ(Unmatched(small, blocks, 500), 0) << surface;   // and the small line is all covered
        // Drawn at that size, not enlarged: lines one pixel wide, so far fewer than 16 pixels a cell.
        EXPECT_LT(std::count(lines.begin(), lines.end(), true), 6 * lit) << surface;
    }
}

TEST(Figure, HiddenLinesAtTwoThousandPixelsAreTheFiveHundredFigureAtFourTimes)
{
    const Wireframe& wire = BuiltinWireframe(kTorus);
    const Camera camera = FirstCamera(kTorus);
    FrameStyle style;
    style.hiddenLines = true;
    style.theme = Theme::Papel;
    auto lit = [&](int size) {
        style.size = size;
        const FigurePicture picture = FigurePixelsOf(camera, wire, style);
        std::vector<bool> out(size_t(size) * size);
        for (int r = 0; r < size; ++r)
            for (int c = 0; c < size; ++c)
                out[size_t(r) * size + c] = picture.ColourAt(c, r) == Rgb{0, 0, 0};
        return out;
    };
    const std::vector<bool> small = lit(500), blocks = Blocks(lit(2000), 2000, 4);
    const long count = std::count(small.begin(), small.end(), true);
    ASSERT_GT(count, 5000);
    // Visibility is tested at each picture's own resolution: where a line meets the surface's
    // outline the two may part by a pixel more, nowhere else.
    EXPECT_LT(Unmatched(blocks, small, 500), count / 200);
    EXPECT_LT(Unmatched(small, blocks, 500), count / 200);
}

TEST(Figure, PointsOfASmallFigureTimesFourAreTheBigFiguresPoints)
{
    FrameStyle style;
    style.theme = Theme::Papel;
    Figure small, big;
    BuildFigure(FirstCamera(kSaddle), BuiltinWireframe(kSaddle), style, small);
    style.size = 2000;
    BuildFigure(FirstCamera(kSaddle), BuiltinWireframe(kSaddle), style, big);
    ASSERT_EQ(small.layers[0].paths.size(), big.layers[0].paths.size());
    for (size_t i = 0; i < small.layers[0].paths.size(); ++i) {
        const std::vector<FigurePoint>& a = small.layers[0].paths[i].points;
        const std::vector<FigurePoint>& b = big.layers[0].paths[i].points;
        ASSERT_EQ(a.size(), b.size());
        for (size_t k = 0; k < a.size(); ++k) {   // scaled before any rounding: 4 is exact in binary
            ASSERT_EQ(a[k].x * 4, b[k].x);
            ASSERT_EQ(a[k].y * 4, b[k].y);
        }
    }
}

TEST_F(FigureFiles, PaperIsMostlyWhitePageWithDarkLines)
{
    for (const char* cue : {"--hidden", "--depth-cue"}) {
        const std::string out = (m_dir / "p.png").string();
        ASSERT_EQ(RunCli({"-s", "toro", "--theme", "papel", cue, "-o", out}).status, 0);
        const DecodedPng p = DecodeAnyPng(ReadWhole(out));
        ASSERT_EQ(p.width, 500);
        long white = 0, dark = 0, other = 0;
        for (int r = 0; r < p.height; ++r)
            for (int c = 0; c < p.width; ++c)
                (p.At(c, r) == 0xFFFFFF ? white : p.Grey(c, r) < 100 ? dark : other) += 1;
        EXPECT_GE(white, 0.9 * p.width * p.height) << cue;
        EXPECT_GT(dark, 3000) << cue;   // the lines, the near ones darkest with the depth cue
        EXPECT_LE(other, std::string(cue) == "--hidden" ? 0 : dark * 3) << cue;
    }
}

TEST_F(FigureFiles, ProjectorLinesStandOutSevenTimesFromTheGroundAndAreTwoPixelsWide)
{
    const std::string plain = (m_dir / "a.png").string(), wall = (m_dir / "b.png").string();
    ASSERT_EQ(RunCli({"-s", "toro", "--line-width", "2", "-o", plain}).status, 0);
    ASSERT_EQ(RunCli({"-s", "toro", "--theme", "proyector", "-o", wall}).status, 0);
    const DecodedPng a = DecodeAnyPng(ReadWhole(plain)), b = DecodeAnyPng(ReadWhole(wall));
    // The two colours the picture holds, and the ratio between them as accessibility guidelines compute it.
    std::set<std::uint32_t> colours(b.rgb.begin(), b.rgb.end());
    ASSERT_EQ(colours.size(), 2u);
    auto rgb = [](std::uint32_t v) { return Rgb{std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)}; };
    EXPECT_GE(ContrastRatio(rgb(*colours.begin()), rgb(*colours.rbegin())), 7.0);
    EXPECT_LT(RelativeLuminance(rgb(b.At(0, 0))), 0.05);   // a dark ground, no white outline
    // The plain frame's blue on black, for comparison, is below the 3:1 asked of graphics.
    EXPECT_LT(ContrastRatio(kSurfaceBlue, kBackgroundBlack), 3.0);
    // The lines where the 2-pixel frame has them.
    for (int r = 1; r < 499; ++r)
        for (int c = 1; c < 499; ++c)
            ASSERT_EQ(a.At(c, r) == 0x0000FF, b.At(c, r) != b.At(0, 0)) << c << "," << r;
}

TEST_F(FigureFiles, ThemedAnimationKeepsItsColoursInEveryFrame)
{
    const std::string out = (m_dir / "t.gif").string();
    ASSERT_EQ(RunCli({"-s", "toro", "--theme", "papel", "--depth-cue", "--turn", "6", "-o", out}).status, 0);
    ASSERT_EQ(RunCli({"-s", "toro", "--theme", "papel", "--depth-cue", "--turn", "6", "-o",
                      (m_dir / "f.png").string()}).status, 0);
    for (int frame = 1; frame <= 6; ++frame) {
        const DecodedPng p = DecodeAnyPng(ReadWhole(m_dir / ("f-000" + std::to_string(frame) + ".png")));
        ASSERT_EQ(p.width, 500) << frame;
        std::set<std::uint32_t> colours(p.rgb.begin(), p.rgb.end());
        EXPECT_GE(colours.size(), 4u) << frame;   // white and the greys of the depth cue
        for (const std::uint32_t c : colours)
            EXPECT_TRUE(c == 0xFFFFFF || ((c >> 16) == (c & 0xFF) && ((c >> 8) & 0xFF) == (c & 0xFF))) << frame << " " << c;
    }
    EXPECT_GT(fs::file_size(out), 1000u);
}

TEST(Figure, DashedSphereKeepsTheWholeFrontAndDrawsPartOfTheBackInDashes)
{
    const Wireframe& wire = BuiltinWireframe(kSphere);
    const Camera camera = FirstCamera(kSphere);
    FrameStyle hidden;
    hidden.hiddenLines = true;
    hidden.theme = Theme::Papel;
    FrameStyle dashed = hidden;
    dashed.dashedHidden = true;
    const FigurePicture front = FigurePixelsOf(camera, wire, hidden), both = FigurePixelsOf(camera, wire, dashed);
    long kept = 0, lost = 0, added = 0;
    for (int r = 0; r < 500; ++r)
        for (int c = 0; c < 500; ++c) {
            const bool a = front.ColourAt(c, r) == Rgb{0, 0, 0};
            const bool b = both.ColourAt(c, r) == Rgb{0, 0, 0};
            kept += a && b;
            lost += a && !b;
            added += !a && b;
        }
    EXPECT_GT(kept, 3000);
    EXPECT_EQ(lost, 0);   // every seen pixel of the front is still there
    // The back: dashed paths whose pixels are fewer than their length, the gaps left out.
    Figure figure;
    BuildFigure(camera, wire, dashed, figure);
    double dashedLength = 0.0;
    for (const FigurePath& path : figure.layers[0].paths)
        for (size_t i = 0; path.dashed && i + 1 < path.points.size(); ++i)
            dashedLength += std::hypot(path.points[i + 1].x - path.points[i].x, path.points[i + 1].y - path.points[i].y);
    EXPECT_GT(dashedLength, 2000.0);
    EXPECT_GT(added, 0.3 * dashedLength);
    EXPECT_LT(added, 0.85 * dashedLength);
}

TEST(Figure, AxesAndTitleAreDrawnWhereAsked)
{
    FrameStyle style;
    style.theme = Theme::Papel;
    style.axes = true;
    style.title = "Toro";
    Figure figure;
    BuildFigure(FirstCamera(kTorus), BuiltinWireframe(kTorus), style, figure);
    EXPECT_EQ(figure.height, 550);   // a band of a tenth of the square above it
    ASSERT_EQ(figure.texts.size(), 4u);
    EXPECT_EQ(figure.texts[0].text, "x");
    EXPECT_EQ(figure.texts[3].text, "Toro");
    EXPECT_LT(figure.texts[3].at.y, figure.top);
    ASSERT_EQ(figure.layers.size(), 2u);
    EXPECT_EQ(figure.layers[1].paths.size(), 6u);   // each axis, and its arrowhead drawn through the tip
    FrameEncoder encoder(OutputFormat::Png);
    encoder.Draw(FirstCamera(kTorus), BuiltinWireframe(kTorus), style);
    long titleInk = 0;
    for (int r = 0; r < 50; ++r)
        for (int c = 0; c < 500; ++c)
            titleInk += encoder.FigurePixels().ColourAt(c, r) == InfoOf(Theme::Papel).lines;
    EXPECT_GT(titleInk, 100);   // the title's glyphs, in the theme's foreground: black on paper
}

TEST_F(FigureFiles, DefaultSizeAndThemeGiveTodaysBytes)
{
    for (const char* ext : {".png", ".svg", ".gif"}) {
        const std::string plain = (m_dir / (std::string("a") + ext)).string(), sized = (m_dir / (std::string("b") + ext)).string();
        ASSERT_EQ(RunCli({"-s", "toro", "--hidden", "-o", plain}).status, 0);
        ASSERT_EQ(RunCli({"-s", "toro", "--hidden", "--size", "500", "--theme", "pantalla", "-o", sized}).status, 0);
        EXPECT_EQ(ReadWhole(plain), ReadWhole(sized)) << ext;
    }
}

TEST_F(FigureFiles, SvgOfAFigureHasCoordinatesFinerThanThePixels)
{
    const std::string out = (m_dir / "a.svg").string();
    ASSERT_EQ(RunCli({"-s", "toro", "--theme", "papel", "-o", out}).status, 0);
    const std::string svg = ReadWhole(out);
    const size_t d = svg.find(" d=\"M");
    ASSERT_NE(d, std::string::npos);
    const std::string first = svg.substr(d + 5, svg.find(' ', d + 5) - d - 5);
    EXPECT_EQ(first.size() - first.find('.'), 3u) << first;   // two decimals
    EXPECT_EQ(svg.find("#0000ff"), std::string::npos);
}

TEST_F(FigureFiles, BadFigureOptionsSayWhatIsAcceptedAndWriteNothing)
{
    const std::string out = (m_dir / "x.png").string();
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--size", "50"}, "100 to 8192"},       {{"--size", "9000"}, "100 to 8192"},
        {{"--size", "x"}, "100 to 8192"},        {{"--theme", "neon"}, "pantalla, papel, proyector"},
        {{"--hidden=wavy"}, "--hidden=dashed"},  {{"--color", "#12345"}, "#rrggbb"},
        {{"--background", "rosa"}, "#rrggbb"},   {{"--title", "a\nb"}, "printable"},
        {{"--format", "jpeg"}, "pdf, eps, tikz"},
    };
    for (const auto& [options, accepted] : cases) {
        std::vector<std::string> args = {"-s", "toro", "-o", out};
        args.insert(args.end(), options.begin(), options.end());
        const Result r = RunCli(args);
        EXPECT_EQ(r.status, 2) << options[0];
        EXPECT_NE(r.err.find(accepted), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_FALSE(fs::exists(out)) << options[0];
    }
    EXPECT_EQ(RunCli({"-s", "toro", "--theme", "papel", "--format", "trace"}).status, 2);
}

}   // namespace
