// The depth of the square: the nearest facet at every pixel, for hiding lines behind a surface.
// Never shown. Depth is held as a key that is linear across the screen and larger when nearer:
// 1 / distance for a perspective eye, minus the distance for a parallel one.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__EMSCRIPTEN__)
#include <wasm_simd128.h>
#endif

#include "render/canvas.h"
#include "render/depth_fill.h"

struct ScreenPoint {
    double col, row;   // continuous picture coordinates: pixel (c, r) covers [c, c+1) x [r, r+1)
    double key;        // the depth key; see above
};

// usable[i] for FacetMesh: whether cols[i], rows[i] and keys[i] are all finite; returns usable.
const std::uint8_t* UsablePoints(const double* cols, const double* rows, const double* keys, std::size_t count,
                                 std::uint8_t* usable);

class DepthBuffer {
public:
    // Empty: every pixel of a square of side pixels infinitely far. perspective chooses the key;
    // tolerance is the distance, in world units, by which a line may lie behind a facet and still
    // be seen.
    void Reset(bool perspective, double tolerance, int side = kCanvasSide);

    // The facets' nearest keys into every pixel whose centre they cover. Degenerate facets, and
    // those with a point that is not usable, add nothing. The window's square only: the fill's
    // rows are kCanvasSide wide, so at another side it adds nothing.
    void AddFacets(const FacetMesh& mesh);
    // One triangle; the triangles a b c and a c d, the two halves of a quad.
    void AddTriangle(ScreenPoint a, ScreenPoint b, ScreenPoint c);
    void AddQuad(ScreenPoint a, ScreenPoint b, ScreenPoint c, ScreenPoint d);

    // A figure's triangle, at any side: its keys into each pixel whose centre lies between the
    // edges' crossings of that pixel row's centre line, in doubles, as the figure's vector pieces
    // are cut. A corner or key that is not finite adds nothing.
    void AddExactTriangle(const double* cols, const double* rows, const double* keys);

    // Whether a line point of depth key at pixel (col, row) is seen; outside the square it is.
    bool Sees(long long col, long long row, double key) const
    {
        if (col < 0 || col >= m_side || row < 0 || row >= m_side)
            return true;
        return SeesAt(static_cast<std::size_t>(row) * static_cast<std::size_t>(m_side) + static_cast<std::size_t>(col), key);
    }
    // Sees for the pixel at index row * side + col of the square, which must be inside.
    bool SeesAt(std::size_t index, double key) const
    {
        const double nearest = m_keys[index];
        if (m_perspective)   // distance(line) <= distance(facet) + tolerance, without a division
            return key * (1.0 + m_tolerance * nearest) >= nearest;
        return key >= nearest - m_tolerance;
    }

    // seen[i] for the pixels index[i] of a walk inside the square: whether a line point there, of
    // key first + perStep * i, is seen. In one loop; true when every one is.
    bool SeesAlong(std::size_t count, double first, double perStep, const std::uint32_t* index, bool* seen) const
    {
        bool all = true;
        for (std::size_t i = 0; i < count; ++i) {
            seen[i] = SeesAt(index[i], first + perStep * static_cast<double>(i));
            all &= seen[i];
        }
        return all;
    }

    // For a walk inside the square of at most 8 pixels, listed as 8 with the last one repeated:
    // bit i is set when the point of step min(i, last), of key first + perStep * min(i, last),
    // is seen at index[i]. The tests of SeesAlong in single precision, four at a time; the
    // tolerance is far wider than a float's last bit.
    unsigned SeenOfEight(const std::uint32_t* index, unsigned last, float first, float perStep) const
    {
        const float* keys = m_keys.data();
        const float tolerance = static_cast<float>(m_tolerance);
#if defined(__SSE2__)
        const __m128 start = _mm_set1_ps(first), step = _mm_set1_ps(perStep), lastStep = _mm_set1_ps(float(last));
        const __m128 tol = _mm_set1_ps(tolerance), one = _mm_set1_ps(1.0f);
        unsigned seen = 0;
        for (int i = 0; i < 8; i += 4) {
            const __m128 ramp = _mm_set_ps(float(i + 3), float(i + 2), float(i + 1), float(i));
#if defined(__EMSCRIPTEN__)
            const __m128 steps = wasm_f32x4_pmin(lastStep, ramp);   // _mm_min_ps in one instruction
#else
            const __m128 steps = _mm_min_ps(ramp, lastStep);
#endif
            const __m128 key = _mm_add_ps(start, _mm_mul_ps(step, steps));
            const __m128 nearest = _mm_set_ps(keys[index[i + 3]], keys[index[i + 2]], keys[index[i + 1]], keys[index[i]]);
            const __m128 pass = m_perspective ? _mm_cmpge_ps(_mm_mul_ps(key, _mm_add_ps(one, _mm_mul_ps(tol, nearest))), nearest)
                                              : _mm_cmpge_ps(key, _mm_sub_ps(nearest, tol));
            seen |= static_cast<unsigned>(_mm_movemask_ps(pass)) << i;
        }
        return seen;
#else
        unsigned seen = 0;
        for (unsigned i = 0; i < 8; ++i) {
            const float nearest = keys[index[i]];
            const float key = first + perStep * std::min(static_cast<float>(i), static_cast<float>(last));
            const bool pass = m_perspective ? key * (1.0f + tolerance * nearest) >= nearest : key >= nearest - tolerance;
            seen |= unsigned{pass} << i;
        }
        return seen;
#endif
    }

    // The nearest key at a pixel inside the square.
    float KeyAt(int col, int row) const { return m_keys[static_cast<std::size_t>(row) * static_cast<std::size_t>(m_side) + col]; }

    // How facets are filled: the fastest way this processor has unless told; all give the same keys.
    void UseFillPath(FillPath path) { m_fill = FacetFillFor(path); }

private:
    FacetFillFunction  m_fill = FacetFillFor(FastestFillPath());
    std::vector<float> m_keys;
    bool               m_perspective = true;
    float              m_empty = 0.0f;              // the key m_keys was last cleared to
    int                m_firstRow = 0, m_lastRow = kCanvasSide - 1;   // rows the fills wrote since
    double             m_tolerance = 0.0;
    int                m_side = kCanvasSide;
};
