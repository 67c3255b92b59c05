// Facets into the depth of the square: edge functions over each triangle's box, sampled at pixel
// centres.
#include "render/depth_buffer.h"

#include <algorithm>
#include <cmath>
#include <limits>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr int kLanes = 4;   // pixels taken at once; the buffer has this many spare floats at its end

// floor(v) clamped above to the last pixel; -1 below the first, and for NaN.
int FloorIndex(double v)
{
    if (!(v >= 0.0))
        return -1;
    return v >= kCanvasSide - 1 ? kCanvasSide - 1 : static_cast<int>(v);
}

// ceil(v) clamped below to the first pixel; kCanvasSide past the last, and for NaN.
int CeilIndex(double v)
{
    if (!(v <= kCanvasSide - 1))
        return kCanvasSide;
    if (v <= 0.0)
        return 0;
    const int i = static_cast<int>(v);
    return i + (i < v);
}

}   // namespace

void DepthBuffer::Reset(bool perspective, double tolerance)
{
    m_perspective = perspective;
    m_tolerance = tolerance;
    // Perspective keys are positive; a parallel eye's are any sign.
    const float empty = perspective ? 0.0f : -std::numeric_limits<float>::infinity();
    m_keys.assign(static_cast<size_t>(kCanvasSide) * kCanvasSide + kLanes, empty);
}

void DepthBuffer::AddTriangle(ScreenPoint a, ScreenPoint b, ScreenPoint c)
{
    const double area = (b.col - a.col) * (c.row - a.row) - (b.row - a.row) * (c.col - a.col);
    if (!(std::fabs(area) > 1e-12))   // also NaN
        return;
    // The pixels whose centres may be inside: centre c + 0.5 between the least and greatest x.
    const int c0 = CeilIndex(std::min(a.col, std::min(b.col, c.col)) - 0.5);
    const int c1 = FloorIndex(std::max(a.col, std::max(b.col, c.col)) - 0.5);
    const int r0 = CeilIndex(std::min(a.row, std::min(b.row, c.row)) - 0.5);
    const int r1 = FloorIndex(std::max(a.row, std::max(b.row, c.row)) - 0.5);
    if (c1 < c0 || r1 < r0)
        return;
    // Barycentric weights as edge functions divided by the area, so their sign is the same for
    // both windings and a weight is >= 0 inside. Facets are a few pixels wide, so each row of the
    // box is walked whole, without branches, in single precision, several pixels at once.
    const double inv = 1.0 / area;
    const double x0 = c0 + 0.5, y0 = r0 + 0.5;   // the first pixel centre of the box
    auto edgeAt = [inv, x0, y0](ScreenPoint p, ScreenPoint q) {
        return ((q.col - p.col) * (y0 - p.row) - (q.row - p.row) * (x0 - p.col)) * inv;
    };
    const double wa = edgeAt(b, c), wb = edgeAt(c, a), wc = edgeAt(a, b);
    const double ax = -(c.row - b.row) * inv, bx = -(a.row - c.row) * inv, cx = -(b.row - a.row) * inv;
    const double ay = (c.col - b.col) * inv, by = (a.col - c.col) * inv, cy = (b.col - a.col) * inv;
    const float kx = static_cast<float>(ax * a.key + bx * b.key + cx * c.key);
    const float ky = static_cast<float>(ay * a.key + by * b.key + cy * c.key);
    const float k0 = static_cast<float>(wa * a.key + wb * b.key + wc * c.key);
    const int cols = c1 - c0 + 1;
    const float fax = float(ax), fbx = float(bx), fcx = float(cx);
    const float fay = float(ay), fby = float(by), fcy = float(cy);
#if defined(__SSE2__)
    // Each row starts from the last row's first lanes plus one row step; along a row, four
    // columns a step. Past the box's last column lanes are masked off, so a row may end in the
    // next one's first pixels, or in the spare floats, without writing them.
    const __m128 lane = _mm_set_ps(3.0f, 2.0f, 1.0f, 0.0f), zero = _mm_setzero_ps(), four = _mm_set1_ps(4.0f);
    const __m128 count = _mm_set1_ps(static_cast<float>(cols));
    const __m128 stepA = _mm_set1_ps(4.0f * fax), stepB = _mm_set1_ps(4.0f * fbx), stepC = _mm_set1_ps(4.0f * fcx);
    const __m128 stepK = _mm_set1_ps(4.0f * kx);
    const __m128 downA = _mm_set1_ps(fay), downB = _mm_set1_ps(fby), downC = _mm_set1_ps(fcy), downK = _mm_set1_ps(ky);
    __m128 rowA = _mm_add_ps(_mm_set1_ps(float(wa)), _mm_mul_ps(_mm_set1_ps(fax), lane));
    __m128 rowB = _mm_add_ps(_mm_set1_ps(float(wb)), _mm_mul_ps(_mm_set1_ps(fbx), lane));
    __m128 rowC = _mm_add_ps(_mm_set1_ps(float(wc)), _mm_mul_ps(_mm_set1_ps(fcx), lane));
    __m128 rowK = _mm_add_ps(_mm_set1_ps(k0), _mm_mul_ps(_mm_set1_ps(kx), lane));
    for (int r = 0; r <= r1 - r0; ++r) {
        float* keys = m_keys.data() + static_cast<size_t>(r0 + r) * kCanvasSide + c0;
        __m128 ea = rowA, eb = rowB, ec = rowC, key = rowK, x = lane;
        for (int i = 0; i < cols; i += kLanes) {
            const __m128 inside = _mm_and_ps(_mm_and_ps(_mm_cmpge_ps(ea, zero), _mm_cmpge_ps(eb, zero)),
                                             _mm_and_ps(_mm_cmpge_ps(ec, zero), _mm_cmplt_ps(x, count)));
            const __m128 old = _mm_loadu_ps(keys + i);
            const __m128 nearer = _mm_and_ps(inside, _mm_cmpgt_ps(key, old));
            _mm_storeu_ps(keys + i, _mm_or_ps(_mm_and_ps(nearer, key), _mm_andnot_ps(nearer, old)));
            ea = _mm_add_ps(ea, stepA);
            eb = _mm_add_ps(eb, stepB);
            ec = _mm_add_ps(ec, stepC);
            key = _mm_add_ps(key, stepK);
            x = _mm_add_ps(x, four);
        }
        rowA = _mm_add_ps(rowA, downA);
        rowB = _mm_add_ps(rowB, downB);
        rowC = _mm_add_ps(rowC, downC);
        rowK = _mm_add_ps(rowK, downK);
    }
#else
    for (int r = 0; r <= r1 - r0; ++r) {
        const float rf = static_cast<float>(r);
        const float ra = float(wa) + fay * rf, rb = float(wb) + fby * rf, rc = float(wc) + fcy * rf;
        const float rk = k0 + ky * rf;
        float* keys = m_keys.data() + static_cast<size_t>(r0 + r) * kCanvasSide + c0;
        for (int i = 0; i < cols; ++i) {
            const float x = static_cast<float>(i);
            const float ea = ra + fax * x, eb = rb + fbx * x, ec = rc + fcx * x;
            const float key = rk + kx * x;
            if (ea >= 0.0f && eb >= 0.0f && ec >= 0.0f && key > keys[i])
                keys[i] = key;
        }
    }
#endif
}
