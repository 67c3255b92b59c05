// One-pixel aliased lines on the frame's picture, clipped so that any int end is safe.
#include "render/raster_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cwchar>

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

// Ends farther than this from the picture are first clipped in double precision to a box of this
// size, so that the exact integer stepping below cannot overflow; nearer lines are drawn exactly.
constexpr long long kFar = 1 << 20;

struct Segment {
    long long x0, y0, x1, y1;
};

// Liang-Barsky clip of a segment to [-kFar, kFar]^2; false when nothing of it lies inside.
bool ClipToFarBox(double x0, double y0, double x1, double y1, Segment& out)
{
    double t0 = 0.0, t1 = 1.0;
    const double dx = x1 - x0, dy = y1 - y0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 + kFar, kFar - x0, y0 + kFar, kFar - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    out = {std::llround(x0 + t0 * dx), std::llround(y0 + t0 * dy), std::llround(x0 + t1 * dx),
           std::llround(y0 + t1 * dy)};
    return true;
}

bool IsFar(long long v)
{
    return v < -kFar || v > kFar;
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
void BasicRasterCanvas<P>::SelectPen(Rgb colour)
{
    m_pen = ValueOf(colour);
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
void BasicRasterCanvas<P>::ClearHiddenRows()
{
    std::fill(m_bits.begin() + static_cast<std::ptrdiff_t>(kCanvasSide) * kWidth, m_bits.end(),
              ValueOf(kBackgroundBlack));
}

namespace {


}   // namespace

template <class P>
void BasicRasterCanvas<P>::DrawClipped(Pixel from, Pixel p)
{
    Segment s{from.col, from.row, p.col, p.row};
    if (IsFar(s.x0) || IsFar(s.y0) || IsFar(s.x1) || IsFar(s.y1)) {
        if (!ClipToFarBox(double(s.x0), double(s.y0), double(s.x1), double(s.y1), s))
            return;
    }
    // Bresenham in closed form: along the major axis, step i puts the minor coordinate at
    // round-half-up(minor * i / major). Only the steps whose major coordinate is inside the
    // picture are walked, so a long line costs no more than one across the picture.
    const long long dx = std::llabs(s.x1 - s.x0), dy = std::llabs(s.y1 - s.y0);
    const long long sx = s.x1 < s.x0 ? -1 : 1, sy = s.y1 < s.y0 ? -1 : 1;
    const bool xMajor = dx >= dy;
    const long long major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
    const long long majorStart = xMajor ? s.x0 : s.y0, majorSign = xMajor ? sx : sy;
    const long long majorLimit = (xMajor ? kWidth : kHeight) - 1;
    long long first = 0, last = major;
    if (majorSign > 0) {
        first = std::max(first, -majorStart);
        last = std::min(last, majorLimit - majorStart);
    } else {
        first = std::max(first, majorStart - majorLimit);
        last = std::min(last, majorStart);
    }
    if (first > last)
        return;
    if (major == 0) {
        Plot(s.x0, s.y0);
        return;
    }
    const long long denominator = 2 * major;
    long long numerator = 2 * minor * first + major;
    long long offset = numerator / denominator;
    long long remainder = numerator % denominator;
    for (long long i = first; i <= last; ++i) {
        const long long a = majorStart + majorSign * i;
        if (xMajor)
            Plot(a, s.y0 + sy * offset);
        else
            Plot(s.x0 + sx * offset, a);
        remainder += 2 * minor;
        if (remainder >= denominator) {
            remainder -= denominator;
            ++offset;
        }
    }
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
