// From view coordinates to pixels of the square: the one place where a double becomes an int.
// Inline: every projected sample of every frame passes through here.
#pragma once

#include <climits>
#include <cmath>
#include <optional>

#include "geometry/vec3.h"
#include "render/canvas.h"

constexpr double kHalfSide = 250.0;   // the centre of the 500-pixel square

// Truncation toward zero wherever the result fits in 32 bits; beyond, saturates to INT_MIN or
// INT_MAX; NaN gives 0 (callers test finiteness first).
inline int TruncateToPixel(double value)
{
    // Exactly the doubles whose truncation lies in [INT_MIN, INT_MAX] convert; no rounding.
    if (value > -2147483649.0 && value < 2147483648.0)
        return static_cast<int>(value);
    if (std::isnan(value))
        return 0;
    return value > 0.0 ? INT_MAX : INT_MIN;
}

#if defined(__EMSCRIPTEN__)
// WebAssembly emulates SSE2's truncation with a call to lrint; TruncateToPixel's own range test on
// both coordinates is the fast path there: in range is finite, and the plain conversion is exact.
inline bool TruncateBothInRange(double col, double row, int& outCol, int& outRow)
{
    if (!(col > -2147483649.0 && col < 2147483648.0 && row > -2147483649.0 && row < 2147483648.0))
        return false;
    outCol = static_cast<int>(col);
    outRow = static_cast<int>(row);
    return true;
}
#endif

// Column trunc(x + 250), row trunc(250 - y) of a view point; none when either is not finite.
inline std::optional<Pixel> PixelFromView(Vec3 view)
{
    const double row = kHalfSide - view.y;
    const double col = view.x + kHalfSide;
    if (!std::isfinite(row) || !std::isfinite(col))
        return std::nullopt;
    return Pixel{TruncateToPixel(col), TruncateToPixel(row)};
}
