// Truncating view coordinates to pixels, defined for every double.
#include "surfaces/pixel_mapping.h"

#include <climits>
#include <cmath>

int TruncateToPixel(double value)
{
    if (std::isnan(value))
        return 0;
    // Exactly the doubles whose truncation lies in [INT_MIN, INT_MAX] convert; no rounding.
    if (value >= 2147483648.0)
        return INT_MAX;
    if (value <= -2147483649.0)
        return INT_MIN;
    return static_cast<int>(value);
}

std::optional<Pixel> PixelFromView(Vec3 view)
{
    const double row = kHalfSide - view.y;
    const double col = view.x + kHalfSide;
    if (!std::isfinite(row) || !std::isfinite(col))
        return std::nullopt;
    return Pixel{TruncateToPixel(col), TruncateToPixel(row)};
}
