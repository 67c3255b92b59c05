// The pixels of a one-pixel line between two pixel ends, in drawing order: the one walk that the
// pictures draw and that hidden lines and the stereo picture test pixel by pixel.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "render/canvas.h"

// Ends farther than this from the picture are first clipped in double precision to a box of this
// size, so that the exact integer stepping cannot overflow; nearer lines are walked exactly.
constexpr long long kFarPixel = 1 << 20;

struct PixelSegment {
    long long x0, y0, x1, y1;
};

inline bool IsFarPixel(long long v)
{
    return v < -kFarPixel || v > kFarPixel;
}

// Liang-Barsky's narrowing of [t0, t1] by the four edges p[i] * t <= q[i]; false when nothing is
// left. Shared by every clip of a segment to a box.
inline bool ClipParameters(const double (&p)[4], const double (&q)[4], double& t0, double& t1)
{
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
    return true;
}

// Liang-Barsky clip of a segment to [-kFarPixel, kFarPixel]^2; false when nothing of it lies inside.
inline bool ClipToFarBox(double x0, double y0, double x1, double y1, PixelSegment& out)
{
    double t0 = 0.0, t1 = 1.0;
    const double dx = x1 - x0, dy = y1 - y0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 + kFarPixel, kFarPixel - x0, y0 + kFarPixel, kFarPixel - y0};
    if (!ClipParameters(p, q, t0, t1))
        return false;
    out = {std::llround(x0 + t0 * dx), std::llround(y0 + t0 * dy), std::llround(x0 + t1 * dx),
           std::llround(y0 + t1 * dy)};
    return true;
}

// Calls visit(step, col, row, major) for the pixels of the line from -> to whose major coordinate
// lies in [0, width) x [0, height) along the major axis (the minor one is the visitor's to clip);
// step counts from `from` (0) to `to` (major). Bresenham in closed form: step i puts the minor
// coordinate at round-half-up(minor * i / major). Returns false when far ends had to be clipped
// first, so that steps count from the clipped end.
template <class Visit>
bool WalkLine(Pixel from, Pixel to, long long width, long long height, Visit&& visit)
{
    PixelSegment s{from.col, from.row, to.col, to.row};
    bool exact = true;
    if (IsFarPixel(s.x0) || IsFarPixel(s.y0) || IsFarPixel(s.x1) || IsFarPixel(s.y1)) {
        exact = false;
        if (!ClipToFarBox(double(s.x0), double(s.y0), double(s.x1), double(s.y1), s))
            return exact;
    }
    const long long dx = std::llabs(s.x1 - s.x0), dy = std::llabs(s.y1 - s.y0);
    const long long sx = s.x1 < s.x0 ? -1 : 1, sy = s.y1 < s.y0 ? -1 : 1;
    const bool xMajor = dx >= dy;
    const long long major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
    const long long majorStart = xMajor ? s.x0 : s.y0, majorSign = xMajor ? sx : sy;
    const long long majorLimit = (xMajor ? width : height) - 1;
    long long first = 0, last = major;
    if (majorSign > 0) {
        first = std::max(first, -majorStart);
        last = std::min(last, majorLimit - majorStart);
    } else {
        first = std::max(first, majorStart - majorLimit);
        last = std::min(last, majorStart);
    }
    if (first > last)
        return exact;
    if (major == 0) {
        visit(0LL, s.x0, s.y0, 0LL);
        return exact;
    }
    const long long denominator = 2 * major;
    const long long numerator = 2 * minor * first + major;
    long long offset = numerator / denominator;
    long long remainder = numerator % denominator;
    for (long long i = first; i <= last; ++i) {
        const long long a = majorStart + majorSign * i;
        if (xMajor)
            visit(i, a, s.y0 + sy * offset, major);
        else
            visit(i, s.x0 + sx * offset, a, major);
        remainder += 2 * minor;
        if (remainder >= denominator) {
            remainder -= denominator;
            ++offset;
        }
    }
    return exact;
}
