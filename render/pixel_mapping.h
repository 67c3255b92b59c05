// From view coordinates to pixels of the square: the one place where a double becomes an int.
// Inline: every projected sample of every frame passes through here.
#pragma once

#include <climits>
#include <cmath>
#include <cstddef>
#include <optional>
#if defined(__EMSCRIPTEN__) && defined(__wasm_simd128__)
#include <wasm_simd128.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Pixels of view coordinates already summed (column x + 250, row 250 - y), point by point as
// PixelFromView gives them: finite[i] is 1 where both are finite, and cols[i], rows[i] are 0 where
// they are not.
inline void PixelsFromView(const double* viewCols, const double* viewRows, std::size_t n, int* cols, int* rows,
                           int* finite)
{
    std::size_t i = 0;
#if defined(__EMSCRIPTEN__) && defined(__wasm_simd128__)
    // WebAssembly's saturating truncation is TruncateToPixel itself (toward zero, saturated, NaN 0),
    // so four points go through it at once, and the finiteness mask zeroes the rest. Without it,
    // SSE2's truncation would be emulated with a call to lrint a coordinate.
    const v128_t infinity = wasm_f64x2_splat(INFINITY);
    auto finiteBoth = [&](v128_t c, v128_t r) {
        return wasm_v128_and(wasm_f64x2_lt(wasm_f64x2_abs(c), infinity), wasm_f64x2_lt(wasm_f64x2_abs(r), infinity));
    };
    for (; i + 4 <= n; i += 4) {
        const v128_t c01 = wasm_v128_load(viewCols + i), c23 = wasm_v128_load(viewCols + i + 2);
        const v128_t r01 = wasm_v128_load(viewRows + i), r23 = wasm_v128_load(viewRows + i + 2);
        // The two 64-bit masks of each pair as four 32-bit ones.
        const v128_t ok = wasm_i32x4_shuffle(finiteBoth(c01, r01), finiteBoth(c23, r23), 0, 2, 4, 6);
        const v128_t c = wasm_i32x4_shuffle(wasm_i32x4_trunc_sat_f64x2_zero(c01), wasm_i32x4_trunc_sat_f64x2_zero(c23), 0, 1, 4, 5);
        const v128_t r = wasm_i32x4_shuffle(wasm_i32x4_trunc_sat_f64x2_zero(r01), wasm_i32x4_trunc_sat_f64x2_zero(r23), 0, 1, 4, 5);
        wasm_v128_store(cols + i, wasm_v128_and(c, ok));
        wasm_v128_store(rows + i, wasm_v128_and(r, ok));
        wasm_v128_store(finite + i, wasm_v128_and(ok, wasm_i32x4_splat(1)));
    }
#endif
    for (; i < n; ++i) {
        const double col = viewCols[i], row = viewRows[i];
#if defined(__SSE2__) && !defined(__EMSCRIPTEN__)
        // The processor's truncation is exact for every value that fits, and answers INT_MIN
        // for everything else (NaN, infinities, overflow): only then is the careful path needed.
        const int fastCol = _mm_cvttsd_si32(_mm_set_sd(col)), fastRow = _mm_cvttsd_si32(_mm_set_sd(row));
        if (fastCol != INT_MIN && fastRow != INT_MIN) {
            finite[i] = 1;
            cols[i] = fastCol;
            rows[i] = fastRow;
            continue;
        }
#endif
        const bool ok = std::isfinite(col) && std::isfinite(row);
        finite[i] = ok;
        cols[i] = ok ? TruncateToPixel(col) : 0;
        rows[i] = ok ? TruncateToPixel(row) : 0;
    }
}

// Column trunc(x + 250), row trunc(250 - y) of a view point; none when either is not finite.
inline std::optional<Pixel> PixelFromView(Vec3 view)
{
    const double row = kHalfSide - view.y;
    const double col = view.x + kHalfSide;
    if (!std::isfinite(row) || !std::isfinite(col))
        return std::nullopt;
    return Pixel{TruncateToPixel(col), TruncateToPixel(row)};
}
