// The raster canvas: exact lines, silent clipping of any int, the framed rectangle.
#include "render/raster_canvas.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

constexpr std::uint32_t kBlue = PackPixel(kSurfaceBlue);

int CountPixels(const RasterCanvas& c, std::uint32_t colour)
{
    int n = 0;
    for (int row = 0; row < RasterCanvas::kHeight; ++row)
        for (int col = 0; col < RasterCanvas::kWidth; ++col)
            n += c.PixelAt(col, row) == colour;
    return n;
}

TEST(RasterCanvas, PacksOpaquePixels)
{
    EXPECT_EQ(PackPixel(kSurfaceBlue), 0xFF0000FFu);
    EXPECT_EQ(PackPixel(kBorderWhite), 0xFFFFFFFFu);
    RasterCanvas c;
    EXPECT_EQ(c.PixelAt(499, 501), 0xFF000000u);
    EXPECT_EQ(c.PixelAt(500, 0), 0u);   // outside the picture
}

TEST(RasterCanvas, DrawsBothEndsOfALine)
{
    RasterCanvas c;
    c.SelectPen(kSurfaceBlue);
    c.MoveTo({10, 10});
    c.LineTo({20, 13});
    EXPECT_EQ(c.PixelAt(10, 10), kBlue);
    EXPECT_EQ(c.PixelAt(20, 13), kBlue);
    EXPECT_EQ(CountPixels(c, kBlue), 11);   // one per column of an x-major line
    c.LineTo({20, 13});                      // zero length: one pixel, already there
    EXPECT_EQ(CountPixels(c, kBlue), 11);
}

TEST(RasterCanvas, LinesAreContinuousInEveryOctant)
{
    const Pixel ends[] = {{300, 260}, {260, 300}, {240, 300}, {200, 260}, {200, 240}, {240, 200}, {260, 200}, {300, 240}};
    for (Pixel end : ends) {
        RasterCanvas c;
        c.SelectPen(kSurfaceBlue);
        c.MoveTo({250, 250});
        c.LineTo(end);
        EXPECT_EQ(CountPixels(c, kBlue), 51) << end.col << "," << end.row;
        EXPECT_EQ(c.PixelAt(end.col, end.row), kBlue);
    }
}

TEST(RasterCanvas, ClippedLineKeepsTheVisiblePixelsOfTheWholeLine)
{
    // The same line drawn whole inside a canvas and from far outside must agree where visible.
    RasterCanvas whole, clipped;
    whole.SelectPen(kSurfaceBlue);
    clipped.SelectPen(kSurfaceBlue);
    whole.MoveTo({0, 100});
    whole.LineTo({499, 300});
    clipped.MoveTo({-499, -100});
    clipped.LineTo({998, 500});   // twice the slope's run each way, through the same pixels
    for (int col = 0; col < 500; ++col)
        for (int row = 0; row < 502; ++row) {
            if (whole.PixelAt(col, row) == kBlue) {
                EXPECT_EQ(clipped.PixelAt(col, row), kBlue) << col << "," << row;
            }
        }
}

TEST(RasterCanvas, AnyIntEndsAreClippedWithoutHarm)
{
    RasterCanvas c;
    c.SelectPen(kSurfaceBlue);
    c.MoveTo({INT_MIN, INT_MIN});
    c.LineTo({INT_MAX, INT_MAX});   // the diagonal through the picture
    EXPECT_EQ(c.PixelAt(250, 250), kBlue);
    c.MoveTo({INT_MIN, 5});
    c.LineTo({INT_MAX, 5});
    EXPECT_EQ(c.PixelAt(0, 5), kBlue);
    EXPECT_EQ(c.PixelAt(499, 5), kBlue);
    const int before = CountPixels(c, kBlue);
    c.MoveTo({INT_MIN, -10});
    c.LineTo({INT_MAX, -10});       // entirely above the picture
    c.MoveTo({-3, -3});
    c.LineTo({-3, -3});
    EXPECT_EQ(CountPixels(c, kBlue), before);
}

TEST(RasterCanvas, RectangleFillsAndOutlinesInsideItsBounds)
{
    RasterCanvas c;
    c.Clear(kSurfaceBlue);
    c.SelectPen(kBorderWhite);
    c.Rectangle(0, 0, 500, 500, kBackgroundBlack);
    const std::uint32_t white = PackPixel(kBorderWhite), black = PackPixel(kBackgroundBlack);
    EXPECT_EQ(c.PixelAt(0, 0), white);
    EXPECT_EQ(c.PixelAt(499, 250), white);
    EXPECT_EQ(c.PixelAt(250, 499), white);
    EXPECT_EQ(c.PixelAt(1, 1), black);
    EXPECT_EQ(c.PixelAt(498, 498), black);
    EXPECT_EQ(c.PixelAt(250, 500), kBlue);   // the hidden rows are not part of the square
    EXPECT_EQ(CountPixels(c, white), 4 * 499);
    c.Rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX, kBackgroundBlack);   // clipped, no outline visible
    EXPECT_EQ(CountPixels(c, black), 500 * 502);
}

}   // namespace
