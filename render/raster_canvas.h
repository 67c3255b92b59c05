// A canvas onto a 500 x 502 picture of 32-bit pixels (0xAARRGGBB, alpha opaque), one row after another.
#pragma once

#include <cstdint>
#include <vector>

#include "render/canvas.h"

constexpr std::uint32_t PackPixel(Rgb c)
{
    return 0xFF000000u | (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | std::uint32_t{c.b};
}

class RasterCanvas final : public Canvas {
public:
    static constexpr int kWidth = kCanvasSide;
    static constexpr int kHeight = kPictureRows;

    RasterCanvas();                                  // all black

    void SelectPen(Rgb colour) override;
    void MoveTo(Pixel p) override;
    void LineTo(Pixel p) override;                   // both ends drawn; clipped to the picture
    void Rectangle(int left, int top, int right, int bottom, Rgb fill) override;

    void Clear(Rgb colour);                          // the whole picture, the two hidden rows too
    void ClearHiddenRows();                          // rows 500 and 501 to black
    std::uint32_t PixelAt(int col, int row) const;   // 0 outside the picture
    const std::uint32_t* Bits() const { return m_bits.data(); }
    std::uint32_t* Bits() { return m_bits.data(); }
    static constexpr int kBytesPerLine = kWidth * 4;

private:
    void Plot(long long col, long long row);
    void DrawInside(Pixel from, Pixel to);           // both ends inside the picture

    std::vector<std::uint32_t> m_bits;
    std::uint32_t m_pen = PackPixel(kBackgroundBlack);
    Pixel m_position;
};
