// One-pixel aliased lines on the frame's picture, clipped so that any int end is safe.
#include "render/raster_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cwchar>

#include "render/line_walk.h"

namespace {

// The C library's wide fill stores 32-bit values as fast as memset stores bytes, about three
// times the speed of a plain loop over a picture that does not fit in the cache.
template <class P>
void Fill(P* at, size_t count, P value)
{
    if constexpr (sizeof(P) == sizeof(wchar_t) && sizeof(P) == 4)
        std::wmemset(reinterpret_cast<wchar_t*>(at), static_cast<wchar_t>(value), count);
    else
        std::fill(at, at + count, value);
}

}   // namespace

template <class P>
BasicRasterCanvas<P>::BasicRasterCanvas() : m_bits(static_cast<size_t>(kWidth) * kHeight, ValueOf(kBackgroundBlack))
{
}

template <class P>
P BasicRasterCanvas<P>::ValueOf(Rgb colour)
{
    if constexpr (sizeof(P) == 4) {
        return PackPixel(colour);
    } else {
        for (size_t i = 0; i < m_palette.size(); ++i)
            if (m_palette[i] == colour)
                return static_cast<P>(i);
        if (m_palette.size() < 256)
            m_palette.push_back(colour);
        return static_cast<P>(m_palette.size() - 1);
    }
}

template <class P>
void BasicRasterCanvas<P>::MoveTo(Pixel p)
{
    m_position = p;
}

template <class P>
void BasicRasterCanvas<P>::Clear(Rgb colour)
{
    Fill(m_bits.data(), m_bits.size(), ValueOf(colour));
}

template <class P>
P BasicRasterCanvas<P>::PixelAt(int col, int row) const
{
    if (col < 0 || col >= kWidth || row < 0 || row >= kHeight)
        return 0;
    return m_bits[static_cast<size_t>(row) * kWidth + col];
}

template <class P>
void BasicRasterCanvas<P>::Plot(long long col, long long row)
{
    if (col >= 0 && col < kWidth && row >= 0 && row < kHeight)
        m_bits[static_cast<size_t>(row) * kWidth + static_cast<size_t>(col)] = m_pen;
}

template <class P>
void BasicRasterCanvas<P>::Lighten(long long col, long long row, Rgb colour)
{
    if (col < 0 || col >= kWidth || row < 0 || row >= kHeight)
        return;
    P& at = m_bits[static_cast<size_t>(row) * kWidth + static_cast<size_t>(col)];
    Rgb present;
    if constexpr (sizeof(P) == 4)
        present = {std::uint8_t(at >> 16), std::uint8_t(at >> 8), std::uint8_t(at)};
    else
        present = at < m_palette.size() ? m_palette[at] : kBackgroundBlack;
    at = ValueOf({std::max(present.r, colour.r), std::max(present.g, colour.g), std::max(present.b, colour.b)});
}

template <class P>
void BasicRasterCanvas<P>::LightenAt(P& at)
{
    if constexpr (sizeof(P) == 4) {   // channel by channel; the alpha byte is 0xFF in both
        at = Lighter(at, m_pen);
    } else {
        const Rgb present = at < m_palette.size() ? m_palette[at] : kBackgroundBlack;
        const Rgb c = m_penColour;
        at = ValueOf({std::max(present.r, c.r), std::max(present.g, c.g), std::max(present.b, c.b)});
    }
}

template <class P>
void BasicRasterCanvas<P>::LightenClipped(Pixel from, Pixel to)
{
    WalkLine(from, to, kWidth, kHeight, [this](long long, long long col, long long row, long long) {
        if (col >= 0 && col < kWidth && row >= 0 && row < kHeight)
            LightenAt(m_bits[static_cast<size_t>(row) * kWidth + static_cast<size_t>(col)]);
    });
}

template <class P>
void BasicRasterCanvas<P>::ClearHiddenRows()
{
    std::fill(m_bits.begin() + static_cast<std::ptrdiff_t>(kCanvasSide) * kWidth, m_bits.end(),
              ValueOf(kBackgroundBlack));
}

template <class P>
void BasicRasterCanvas<P>::DrawClipped(Pixel from, Pixel p)
{
    // Only the steps whose major coordinate is inside the picture are walked, so a long line
    // costs no more than one across the picture.
    WalkLine(from, p, kWidth, kHeight, [this](long long, long long col, long long row, long long) { Plot(col, row); });
}

template <class P>
void BasicRasterCanvas<P>::Rectangle(int left, int top, int right, int bottom, Rgb fill)
{
    const long long x0 = std::max<long long>(left, 0), x1 = std::min<long long>(right, kWidth);
    const long long y0 = std::max<long long>(top, 0), y1 = std::min<long long>(bottom, kHeight);
    const P packed = ValueOf(fill);
    if (x0 == 0 && x1 == kWidth && y0 < y1)   // whole rows lie end to end: one fill
        Fill(m_bits.data() + y0 * kWidth, static_cast<size_t>((y1 - y0) * kWidth), packed);
    else
        for (long long row = y0; row < y1 && x0 < x1; ++row)
            Fill(m_bits.data() + row * kWidth + x0, static_cast<size_t>(x1 - x0), packed);
    if (right <= left || bottom <= top)
        return;
    const long long r = static_cast<long long>(right) - 1, b = static_cast<long long>(bottom) - 1;
    for (long long col = std::max<long long>(left, 0); col <= std::min<long long>(r, kWidth - 1); ++col) {
        Plot(col, top);   // the outline lies one pixel inside the bounds
        Plot(col, b);
    }
    for (long long row = std::max<long long>(top, 0); row <= std::min<long long>(b, kHeight - 1); ++row) {
        Plot(left, row);
        Plot(r, row);
    }
}

template class BasicRasterCanvas<std::uint32_t>;
template class BasicRasterCanvas<std::uint8_t>;
