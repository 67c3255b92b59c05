// Canvases onto a 500 x 502 picture, one row after another: the frame's off-screen bitmap.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "render/canvas.h"

constexpr std::uint32_t PackPixel(Rgb c)
{
    return 0xFF000000u | (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | std::uint32_t{c.b};
}

// A raster picture of pixels of type P: 32-bit packed colours for the window, or 8-bit indices
// into the canvas's own palette (in the order colours are first used) for files.
template <class P>
class BasicRasterCanvas final : public Canvas {
public:
    static constexpr int kWidth = kCanvasSide;
    static constexpr int kHeight = kPictureRows;
    static constexpr int kBytesPerLine = kWidth * static_cast<int>(sizeof(P));

    BasicRasterCanvas();                             // all black

    void SelectPen(Rgb colour) override;
    void MoveTo(Pixel p) override;
    void LineTo(Pixel p) override;                   // both ends drawn; clipped to the picture
    void Rectangle(int left, int top, int right, int bottom, Rgb fill) override;

    void Clear(Rgb colour);                          // the whole picture, the two hidden rows too
    void ClearHiddenRows();                          // rows 500 and 501 to black
    // Each channel the larger of colour's and the pixel's own: how the two pictures of a stereo
    // frame add up on black. Outside the picture nothing happens.
    void Lighten(long long col, long long row, Rgb colour);
    // LineTo that lightens each pixel with the pen's colour, as Lighten does, instead of setting it.
    void LightenTo(Pixel p);
    // A line between two pixels, both ends drawn and clipped, as a move to from and LineTo(to) (or
    // LightenTo) draw it, with the position left alone: a replay of many lines keeps no position
    // between them.
    template <bool kLighten = false>
    void Line(Pixel from, Pixel to);
    // The pen's colour into the pixels at these offsets (row * kWidth + col), each inside the
    // picture, set or lightened as LineTo or LightenTo sets or lightens them.
    template <bool kLighten>
    void PlotAt(const std::uint32_t* offsets, std::size_t count);
    P PixelAt(int col, int row) const;               // 0 outside the picture
    const P* Bits() const { return m_bits.data(); }
    P* Bits() { return m_bits.data(); }
    // The indexed picture's colours; past 256 colours the last entry is reused.
    const std::vector<Rgb>& Palette() const { return m_palette; }
    // The indexed picture's colours replaced, index for index: how a frame is shown in other
    // colours without drawing it again. Drawing on looks colours up in the palette given.
    void SetPalette(std::vector<Rgb> palette) { m_palette = std::move(palette); }

private:
    P ValueOf(Rgb colour);
    void Plot(long long col, long long row);
    template <bool kLighten>
    void StrokeTo(Pixel p);                          // LineTo, or LightenTo
    template <bool kLighten = false>
    void DrawInside(Pixel from, Pixel to);           // both ends inside the picture
    void LightenAt(P& at);                           // the pen's colour, lightening
    static P Lighter(P present, P pen);              // 32-bit: the larger of each byte
    void DrawClipped(Pixel from, Pixel to);          // any ends: clipped, then walked
    void LightenClipped(Pixel from, Pixel to);       // the same, lightening

    std::vector<Rgb> m_palette;                      // used by the indexed picture only
    std::vector<P> m_bits;
    P m_pen{};
    Rgb m_penColour;
    Pixel m_position;
};

// Inline: a frame draws thousands of short lines, nearly all of them inside the picture.
// Inline: a depth-cued frame changes the pen between its short lines.
template <class P>
inline void BasicRasterCanvas<P>::SelectPen(Rgb colour)
{
    if constexpr (sizeof(P) == 4)
        m_pen = PackPixel(colour);
    else
        m_pen = ValueOf(colour);
    m_penColour = colour;
}

template <class P>
inline void BasicRasterCanvas<P>::LineTo(Pixel p)
{
    StrokeTo<false>(p);
}

template <class P>
inline void BasicRasterCanvas<P>::LightenTo(Pixel p)
{
    StrokeTo<true>(p);
}

template <class P>
template <bool kLighten>
inline void BasicRasterCanvas<P>::StrokeTo(Pixel p)
{
    const Pixel from = m_position;
    m_position = p;
    Line<kLighten>(from, p);
}

template <class P>
template <bool kLighten>
inline void BasicRasterCanvas<P>::Line(Pixel from, Pixel to)
{
    auto inside = [](Pixel q) {
        return static_cast<unsigned>(q.col) < static_cast<unsigned>(kWidth) &&
               static_cast<unsigned>(q.row) < static_cast<unsigned>(kHeight);
    };
    if (inside(from) && inside(to))
        DrawInside<kLighten>(from, to);
    else if constexpr (kLighten)
        LightenClipped(from, to);
    else
        DrawClipped(from, to);
}

// Clang (and so the page's WebAssembly) would make the minor step two selects, chained through
// the remainder from pixel to pixel: a quarter slower than the branch on the frame's short lines.
// Told the branch is predictable, it keeps it. GCC keeps it anyway, and lays it out worse if told.
#if defined(__clang__)
#define VEXILON_KEEP_BRANCH(condition) __builtin_expect(static_cast<bool>(condition), false)
#else
#define VEXILON_KEEP_BRANCH(condition) (condition)
#endif

// The common case, the same pixels as the clipped walk with nothing to clip: the minor offset
// starts at zero with the remainder at half the major step.
template <class P>
template <bool kLighten>
inline void BasicRasterCanvas<P>::DrawInside(Pixel from, Pixel to)
{
    const int dx = to.col > from.col ? to.col - from.col : from.col - to.col;
    const int dy = to.row > from.row ? to.row - from.row : from.row - to.row;
    const std::ptrdiff_t stepX = to.col < from.col ? -1 : 1;
    const std::ptrdiff_t stepY = to.row < from.row ? -kWidth : kWidth;
    const bool xMajor = dx >= dy;
    const int major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
    const std::ptrdiff_t majorStep = xMajor ? stepX : stepY, minorStep = xMajor ? stepY : stepX;
    P* at = m_bits.data() + static_cast<std::ptrdiff_t>(from.row) * kWidth + from.col;
    const int denominator = 2 * major;
    int remainder = major;
    const P pen = m_pen;   // kept in a register: the picture's stores cannot change it
    for (int i = 0;; ++i) {
        if constexpr (kLighten && sizeof(P) == 4)
            *at = Lighter(*at, pen);
        else if constexpr (kLighten)
            LightenAt(*at);
        else
            *at = pen;
        if (i == major)
            break;   // never step past the last pixel: the pointer stays inside the picture
        at += majorStep;
        remainder += 2 * minor;
        if (VEXILON_KEEP_BRANCH(remainder >= denominator)) {
            remainder -= denominator;
            at += minorStep;
        }
    }
}

template <class P>
template <bool kLighten>
inline void BasicRasterCanvas<P>::PlotAt(const std::uint32_t* offsets, std::size_t count)
{
    P* bits = m_bits.data();
    const P pen = m_pen;
    for (std::size_t i = 0; i < count; ++i) {
        if constexpr (kLighten && sizeof(P) == 4)
            bits[offsets[i]] = Lighter(bits[offsets[i]], pen);
        else if constexpr (kLighten)
            LightenAt(bits[offsets[i]]);
        else
            bits[offsets[i]] = pen;
    }
}

// Inline: the stereo picture lightens every pixel of its lines through it.
template <class P>
inline P BasicRasterCanvas<P>::Lighter(P present, P pen)
{
#if defined(__SSE2__)
    return static_cast<P>(static_cast<std::uint32_t>(_mm_cvtsi128_si32(
        _mm_max_epu8(_mm_cvtsi32_si128(static_cast<int>(present)), _mm_cvtsi32_si128(static_cast<int>(pen))))));
#else
    std::uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8)
        out |= std::max((std::uint32_t{present} >> shift) & 0xFFu, (std::uint32_t{pen} >> shift) & 0xFFu) << shift;
    return static_cast<P>(out);
#endif
}

using RasterCanvas = BasicRasterCanvas<std::uint32_t>;   // 0xAARRGGBB, what the window shows
using IndexedCanvas = BasicRasterCanvas<std::uint8_t>;   // palette indices, what files are made of

extern template class BasicRasterCanvas<std::uint32_t>;
extern template class BasicRasterCanvas<std::uint8_t>;
