// From view coordinates to pixels of the square: the one place where a double becomes an int.
#pragma once

#include <optional>

#include "geometry/vec3.h"
#include "render/canvas.h"

constexpr double kHalfSide = 250.0;   // the centre of the 500-pixel square

// Truncation toward zero wherever the result fits in 32 bits; beyond, saturates to INT_MIN or
// INT_MAX; NaN gives 0 (callers test finiteness first).
int TruncateToPixel(double value);

// Column trunc(x + 250), row trunc(250 - y) of a view point; none when either is not finite.
std::optional<Pixel> PixelFromView(Vec3 view);
