// The page's own WebAssembly SIMD paths against the plain code they stand for, on the values where
// they could part: NaNs, infinities, signed zeros, the ends of the int range. Built with the page
// and run under node by web/build.sh; any difference fails the build. Natively these paths do not
// exist (core_tests checks the native ones).
#include <emmintrin.h>
#include <wasm_simd128.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <vector>

#include "render/pixel_mapping.h"

namespace {

int failures = 0;

void Expect(bool ok, const char* what, double a, double b)
{
    if (!ok && ++failures <= 20)
        std::fprintf(stderr, "FAIL: %s at %.17g, %.17g\n", what, a, b);
}

template <class T>
bool SameBits(T a, T b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

const double kInf = std::numeric_limits<double>::infinity();
const double kNan = std::numeric_limits<double>::quiet_NaN();
const double kValues[] = {0.0, -0.0, 249.9, -0.7, -1.0, 499.99, 2147483647.9, 2147483648.0, -2147483648.9,
                          -2147483649.0, 1e300, -1e300, kInf, -kInf, kNan, 4.9e-324, -2147483647.5, 3.4e38};

// Four points at a time, then the rest one by one: every pair of values at every alignment.
void CheckPixelsFromView()
{
    std::vector<double> cols, rows;
    for (const double c : kValues)
        for (const double r : kValues) {
            cols.push_back(c);
            rows.push_back(r);
        }
    for (std::size_t skip = 0; skip < 4; ++skip) {
        const std::size_t n = cols.size() - skip;
        std::vector<int> outCols(n, -7), outRows(n, -7), finite(n, -7);
        PixelsFromView(cols.data() + skip, rows.data() + skip, n, outCols.data(), outRows.data(), finite.data());
        for (std::size_t i = 0; i < n; ++i) {
            const double c = cols[i + skip], r = rows[i + skip];
            const bool ok = std::isfinite(c) && std::isfinite(r);
            Expect(finite[i] == (ok ? 1 : 0), "PixelsFromView finite", c, r);
            Expect(outCols[i] == (ok ? TruncateToPixel(c) : 0), "PixelsFromView column", c, r);
            Expect(outRows[i] == (ok ? TruncateToPixel(r) : 0), "PixelsFromView row", c, r);
        }
    }
}

// The frame's maxima and minima: WebAssembly's pmax(b, a) and pmin(b, a) for SSE2's max(a, b) and
// min(a, b), which give b where either is a NaN.
void CheckMaxMin()
{
    for (const double x : kValues)
        for (const double y : kValues) {
            const float a = static_cast<float>(x), b = static_cast<float>(y);
            const __m128 fa = _mm_set1_ps(a), fb = _mm_set1_ps(b);
            Expect(SameBits(wasm_f32x4_extract_lane(wasm_f32x4_pmax(fb, fa), 0), _mm_cvtss_f32(_mm_max_ps(fa, fb))),
                   "f32 max", x, y);
            Expect(SameBits(wasm_f32x4_extract_lane(wasm_f32x4_pmin(fb, fa), 0), _mm_cvtss_f32(_mm_min_ps(fa, fb))),
                   "f32 min", x, y);
            const __m128d da = _mm_set1_pd(x), db = _mm_set1_pd(y);
            Expect(SameBits(wasm_f64x2_extract_lane(wasm_f64x2_pmax(db, da), 0), _mm_cvtsd_f64(_mm_max_pd(da, db))),
                   "f64 max", x, y);
        }
}

}   // namespace

int main()
{
    CheckPixelsFromView();
    CheckMaxMin();
    if (failures > 0) {
        std::fprintf(stderr, "%d differences between the page's SIMD paths and the plain code\n", failures);
        return 1;
    }
    std::printf("the page's SIMD paths give the plain code's values\n");
    return 0;
}
