// GIF output: frames that decode to the pictures given, changed rectangles, colours, timing, failures.
#include "export/gif_encoder.h"
#include "cli_run_support.h"
#include "geometry/view_changes.h"
#include "render/frame.h"
#include "render/turntable.h"
#include "surfaces/registry.h"
#include "gif_decoding.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <numeric>
#include <string>
#include <vector>

namespace {

std::vector<std::uint32_t> ColoursOf(const IndexedCanvas& picture)
{
    std::vector<std::uint32_t> colours;
    for (int row = 0; row < kCanvasSide; ++row)
        for (int col = 0; col < kCanvasSide; ++col) {
            const Rgb c = picture.Palette()[picture.PixelAt(col, row)];
            colours.push_back(std::uint32_t{c.r} << 16 | std::uint32_t{c.g} << 8 | c.b);
        }
    return colours;
}

// Encodes each picture as it is made by draw(k, picture), keeping the colours each one shows.
template <class Draw>
DecodedGif EncodeFrames(int count, int fps, Draw draw, std::vector<std::vector<std::uint32_t>>& shown)
{
    std::FILE* file = std::tmpfile();
    IndexedCanvas picture;
    {
        GifEncoder gif(file, fps);
        for (int k = 0; k < count; ++k) {
            draw(k, picture);
            shown.push_back(ColoursOf(picture));
            EXPECT_TRUE(gif.AddFrame(picture));
        }
        EXPECT_TRUE(gif.Finish());
    }
    DecodedGif decoded = DecodeGif(ReadAll(file));
    std::fclose(file);
    return decoded;
}

TEST(GifOutput, TurningTorusDecodesToEachPictureFromChangedRectangles)
{
    ViewState first;
    ResetViewState(first);
    first.surface = kTorus;
    const Wireframe& wire = BuiltinWireframe(first.surface);
    BeginFrame(first, wire);
    std::vector<std::vector<std::uint32_t>> shown;
    const DecodedGif gif = EncodeFrames(12, 25, [&](int k, IndexedCanvas& picture) {
        DrawFrame(TurnFrameCamera(first, wire, k % 6, 6), wire, picture);   // the second half repeats the first
    }, shown);
    ASSERT_TRUE(gif.ok);
    ASSERT_EQ(gif.frames.size(), 12u);
    for (size_t k = 0; k < shown.size(); ++k)
        EXPECT_TRUE(gif.frames[k] == shown[k]) << "frame " << k;
    EXPECT_EQ(gif.version, "GIF89a");
    EXPECT_EQ(gif.loopCount, 0);   // for ever
    EXPECT_EQ(gif.rectangleAreas[0], kCanvasSide * kCanvasSide);
    for (size_t k = 1; k < gif.rectangleAreas.size(); ++k)
        EXPECT_LT(gif.rectangleAreas[k], kCanvasSide * kCanvasSide / 2) << "the torus fills the middle only";
}

TEST(GifOutput, UnchangedFrameIsOnePixelAndAChangedPixelItsOwnRectangle)
{
    std::vector<std::vector<std::uint32_t>> shown;
    const DecodedGif gif = EncodeFrames(4, 10, [](int k, IndexedCanvas& picture) {
        if (k == 0)
            picture.Clear(kBackgroundBlack);
        if (k == 2) {   // one pixel in the far corner, then a line across two rows
            picture.SelectPen(kSurfaceBlue);
            picture.MoveTo({499, 499});
            picture.LineTo({499, 499});
        }
        if (k == 3) {
            picture.SelectPen(kBorderWhite);
            picture.MoveTo({10, 20});
            picture.LineTo({30, 21});
        }
    }, shown);
    ASSERT_TRUE(gif.ok);
    ASSERT_EQ(gif.frames.size(), 4u);
    EXPECT_EQ(gif.rectangleAreas, (std::vector<int>{kCanvasSide * kCanvasSide, 1, 1, 21 * 2}));
    for (size_t k = 0; k < shown.size(); ++k)
        EXPECT_TRUE(gif.frames[k] == shown[k]) << "frame " << k;
}

TEST(GifOutput, PalettesOfManyColoursAndGrowingOnesKeepEveryPixel)
{
    // Each frame adds colours to the picture's palette: frames past the screen's colour map carry
    // their own, and up to 256 colours come out exact.
    std::vector<std::vector<std::uint32_t>> shown;
    const DecodedGif gif = EncodeFrames(5, 25, [](int k, IndexedCanvas& picture) {
        for (int i = 0; i < 64; ++i) {
            const int n = k * 64 + i;
            picture.SelectPen({static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(255 - n), 7});
            picture.MoveTo({n % 500, i});
            picture.LineTo({n % 500, 300 + i});
        }
    }, shown);
    ASSERT_TRUE(gif.ok);
    ASSERT_EQ(gif.frames.size(), 5u);
    for (size_t k = 0; k < shown.size(); ++k)
        EXPECT_TRUE(gif.frames[k] == shown[k]) << "frame " << k;
}

TEST(GifOutput, DelaysKeepTheRateOnAverage)
{
    std::vector<std::vector<std::uint32_t>> shown;
    auto blank = [](int, IndexedCanvas&) {};
    EXPECT_EQ(EncodeFrames(3, 20, blank, shown).delays, (std::vector<int>{5, 5, 5}));   // 50 ms
    EXPECT_EQ(EncodeFrames(2, 25, blank, shown).delays, (std::vector<int>{4, 4}));
    const std::vector<int> thirty = EncodeFrames(30, 30, blank, shown).delays;
    EXPECT_EQ(std::accumulate(thirty.begin(), thirty.end(), 0), 100);   // 30 frames in one second
    EXPECT_EQ(thirty[0], 3);
    EXPECT_EQ(thirty[1], 4);
    EXPECT_EQ(EncodeFrames(1, 1, blank, shown).delays, (std::vector<int>{100}));
}

TEST(GifOutput, StillPictureIsOneFrameWithoutTimingOrLooping)
{
    ViewState view;
    ResetViewState(view);
    view.surface = kTorus;
    IndexedCanvas picture;
    RenderNextFrame(view, picture);
    std::FILE* file = std::tmpfile();
    ASSERT_TRUE(WriteGif(file, picture));
    const DecodedGif gif = DecodeGif(ReadAll(file));
    std::fclose(file);
    ASSERT_TRUE(gif.ok);
    EXPECT_EQ(gif.version, "GIF87a");
    EXPECT_EQ(gif.loopCount, -1);
    EXPECT_EQ(gif.delays, std::vector<int>{-1});
    ASSERT_EQ(gif.frames.size(), 1u);
    EXPECT_TRUE(gif.frames[0] == ColoursOf(picture));
}

TEST(GifOutput, FailuresAreReportedAndNoFramesIsAFailure)
{
    IndexedCanvas picture;
    std::FILE* full = std::fopen("/dev/full", "wb");
    ASSERT_NE(full, nullptr);
    std::setvbuf(full, nullptr, _IONBF, 0);   // each write reaches the device and fails there
    {
        GifEncoder gif(full, 25);
        EXPECT_FALSE(gif.AddFrame(picture) && gif.Finish());
        EXPECT_FALSE(gif.AddFrame(picture));   // stays failed
    }
    std::fclose(full);
    std::FILE* file = std::tmpfile();
    GifEncoder empty(file, 25);
    EXPECT_FALSE(empty.Finish());
    std::fclose(file);
}

}   // namespace
