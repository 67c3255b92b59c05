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
    const size_t size = static_cast<size_t>(kCanvasSide) * kCanvasSide + kLanes;
    if (m_keys.size() != size || !(m_empty == empty))
        m_keys.assign(size, empty);
    else if (m_firstRow <= m_lastRow)   // only the rows the last facets wrote can hold a key
        std::fill(m_keys.begin() + static_cast<std::ptrdiff_t>(m_firstRow) * kCanvasSide,
                  m_keys.begin() + static_cast<std::ptrdiff_t>(m_lastRow + 1) * kCanvasSide, empty);
    m_empty = empty;
    m_firstRow = kCanvasSide;
    m_lastRow = -1;
}

// A triangle's three barycentric weights and its key, each linear over the screen: the value at
// the first pixel centre of a box and the steps per column and per row, in single precision. The
// weights are edge functions divided by the area, so their sign is the same for both windings and
// a weight is >= 0 inside.
struct FacetPlane {
    float w0, w0x, w0y, w1, w1x, w1y, w2, w2x, w2y, k, kx, ky;
};

namespace {

using Plane = FacetPlane;

bool PlaneOf(ScreenPoint a, ScreenPoint b, ScreenPoint c, double x0, double y0, Plane& p)
{
    const double area = (b.col - a.col) * (c.row - a.row) - (b.row - a.row) * (c.col - a.col);
    if (!(std::fabs(area) > 1e-12))   // also NaN
        return false;
    const double inv = 1.0 / area;
    auto edgeAt = [inv, x0, y0](ScreenPoint from, ScreenPoint to) {
        return ((to.col - from.col) * (y0 - from.row) - (to.row - from.row) * (x0 - from.col)) * inv;
    };
    const double wa = edgeAt(b, c), wb = edgeAt(c, a), wc = edgeAt(a, b);
    const double ax = -(c.row - b.row) * inv, bx = -(a.row - c.row) * inv, cx = -(b.row - a.row) * inv;
    const double ay = (c.col - b.col) * inv, by = (a.col - c.col) * inv, cy = (b.col - a.col) * inv;
    p = {float(wa), float(ax), float(ay), float(wb), float(bx), float(by), float(wc), float(cx), float(cy),
         float(wa * a.key + wb * b.key + wc * c.key), float(ax * a.key + bx * b.key + cx * c.key),
         float(ay * a.key + by * b.key + cy * c.key)};
    return true;
}

#if defined(__SSE2__)
// PlaneOf for the triangles a b c and a c d at once, one in each half of a pair of doubles: the
// same operations in the same order, so the same planes, bit for bit.
void PlanesOf(ScreenPoint a, ScreenPoint b, ScreenPoint c, ScreenPoint d, double x0, double y0, Plane& p,
              bool& first, Plane& q, bool& second)
{
    const __m128d ac = _mm_set1_pd(a.col), ar = _mm_set1_pd(a.row), ak = _mm_set1_pd(a.key);
    const __m128d bc = _mm_set_pd(c.col, b.col), br = _mm_set_pd(c.row, b.row), bk = _mm_set_pd(c.key, b.key);
    const __m128d cc = _mm_set_pd(d.col, c.col), cr = _mm_set_pd(d.row, c.row), ck = _mm_set_pd(d.key, c.key);
    const __m128d area = _mm_sub_pd(_mm_mul_pd(_mm_sub_pd(bc, ac), _mm_sub_pd(cr, ar)),
                                    _mm_mul_pd(_mm_sub_pd(br, ar), _mm_sub_pd(cc, ac)));
    const __m128d sign = _mm_set1_pd(-0.0);
    const int flat = _mm_movemask_pd(_mm_cmpgt_pd(_mm_andnot_pd(sign, area), _mm_set1_pd(1e-12)));
    first = (flat & 1) != 0;
    second = (flat & 2) != 0;
    if (flat == 0)
        return;
    const __m128d inv = _mm_div_pd(_mm_set1_pd(1.0), area), x = _mm_set1_pd(x0), y = _mm_set1_pd(y0);
    auto edgeAt = [&](__m128d fc, __m128d fr, __m128d tc, __m128d tr) {
        return _mm_mul_pd(_mm_sub_pd(_mm_mul_pd(_mm_sub_pd(tc, fc), _mm_sub_pd(y, fr)),
                                     _mm_mul_pd(_mm_sub_pd(tr, fr), _mm_sub_pd(x, fc))), inv);
    };
    auto negTimesInv = [&](__m128d v) { return _mm_mul_pd(_mm_xor_pd(v, sign), inv); };
    const __m128d wa = edgeAt(bc, br, cc, cr), wb = edgeAt(cc, cr, ac, ar), wc = edgeAt(ac, ar, bc, br);
    const __m128d ax = negTimesInv(_mm_sub_pd(cr, br)), bx = negTimesInv(_mm_sub_pd(ar, cr)),
                  cx = negTimesInv(_mm_sub_pd(br, ar));
    const __m128d ay = _mm_mul_pd(_mm_sub_pd(cc, bc), inv), by = _mm_mul_pd(_mm_sub_pd(ac, cc), inv),
                  cy = _mm_mul_pd(_mm_sub_pd(bc, ac), inv);
    auto keyOf = [&](__m128d u, __m128d v, __m128d w) {
        return _mm_add_pd(_mm_add_pd(_mm_mul_pd(u, ak), _mm_mul_pd(v, bk)), _mm_mul_pd(w, ck));
    };
    const __m128d all[12] = {wa, ax, ay, wb, bx, by, wc, cx, cy, keyOf(wa, wb, wc), keyOf(ax, bx, cx),
                             keyOf(ay, by, cy)};
    float* const pf[12] = {&p.w0, &p.w0x, &p.w0y, &p.w1, &p.w1x, &p.w1y, &p.w2, &p.w2x, &p.w2y, &p.k, &p.kx, &p.ky};
    float* const qf[12] = {&q.w0, &q.w0x, &q.w0y, &q.w1, &q.w1x, &q.w1y, &q.w2, &q.w2x, &q.w2y, &q.k, &q.kx, &q.ky};
    for (int i = 0; i < 12; ++i) {
        float two[4];
        _mm_storeu_ps(two, _mm_cvtpd_ps(all[i]));
        *pf[i] = two[0];
        *qf[i] = two[1];
    }
}
#endif

}   // namespace

// The nearest keys of two planes into the box's pixels whose centres they cover; the planes are
// set up at the box's first pixel centre. Facets are a few pixels wide, so each row of the box is
// walked whole, without branches, four pixels at once; past the box's last column lanes are
// masked off, so a row may end in the next one's first pixels, or in the spare floats, without
// writing them. Each row starts from the last row's first lanes plus one row step.
inline void DepthBuffer::FillBox(int c0, int c1, int r0, int r1, const FacetPlane& p, const FacetPlane& q)
{
    const int cols = c1 - c0 + 1;
    m_firstRow = std::min(m_firstRow, r0);
    m_lastRow = std::max(m_lastRow, r1);
#if defined(__SSE2__)
    const __m128 lane = _mm_set_ps(3.0f, 2.0f, 1.0f, 0.0f), zero = _mm_setzero_ps();
    const __m128 nowhere = _mm_set1_ps(-std::numeric_limits<float>::infinity());
    const int blocks = (cols + kLanes - 1) / kLanes;
    const __m128 all = _mm_cmpeq_ps(zero, zero);
    const __m128 inLast = _mm_cmplt_ps(lane, _mm_set1_ps(static_cast<float>(cols - (blocks - 1) * kLanes)));
    auto start = [&lane](float v, float perCol) { return _mm_add_ps(_mm_set1_ps(v), _mm_mul_ps(_mm_set1_ps(perCol), lane)); };
    __m128 rp0 = start(p.w0, p.w0x), rp1 = start(p.w1, p.w1x), rp2 = start(p.w2, p.w2x), rpk = start(p.k, p.kx);
    __m128 rq0 = start(q.w0, q.w0x), rq1 = start(q.w1, q.w1x), rq2 = start(q.w2, q.w2x), rqk = start(q.k, q.kx);
    const __m128 sp0 = _mm_set1_ps(4.0f * p.w0x), sp1 = _mm_set1_ps(4.0f * p.w1x), sp2 = _mm_set1_ps(4.0f * p.w2x);
    const __m128 spk = _mm_set1_ps(4.0f * p.kx);
    const __m128 sq0 = _mm_set1_ps(4.0f * q.w0x), sq1 = _mm_set1_ps(4.0f * q.w1x), sq2 = _mm_set1_ps(4.0f * q.w2x);
    const __m128 sqk = _mm_set1_ps(4.0f * q.kx);
    for (int r = 0; r <= r1 - r0; ++r) {
        float* keys = m_keys.data() + static_cast<size_t>(r0 + r) * kCanvasSide + c0;
        __m128 p0 = rp0, p1 = rp1, p2 = rp2, pk = rpk, q0 = rq0, q1 = rq1, q2 = rq2, qk = rqk;
        // A plane's key where it covers the lane, minus infinity elsewhere; the maximum with the
        // buffer is then "the key if nearer", NaN keys and signed zeros included.
        auto block = [&](float* at, __m128 inBox) {
            const __m128 inP = _mm_and_ps(_mm_and_ps(_mm_cmpge_ps(p0, zero), _mm_cmpge_ps(p1, zero)),
                                          _mm_and_ps(_mm_cmpge_ps(p2, zero), inBox));
            const __m128 inQ = _mm_and_ps(_mm_and_ps(_mm_cmpge_ps(q0, zero), _mm_cmpge_ps(q1, zero)),
                                          _mm_and_ps(_mm_cmpge_ps(q2, zero), inBox));
            const __m128 keyP = _mm_or_ps(_mm_and_ps(inP, pk), _mm_andnot_ps(inP, nowhere));
            const __m128 keyQ = _mm_or_ps(_mm_and_ps(inQ, qk), _mm_andnot_ps(inQ, nowhere));
            _mm_storeu_ps(at, _mm_max_ps(keyQ, _mm_max_ps(keyP, _mm_loadu_ps(at))));
        };
        for (int j = 0; j < blocks - 1; ++j) {
            block(keys + j * kLanes, all);
            p0 = _mm_add_ps(p0, sp0);
            p1 = _mm_add_ps(p1, sp1);
            p2 = _mm_add_ps(p2, sp2);
            pk = _mm_add_ps(pk, spk);
            q0 = _mm_add_ps(q0, sq0);
            q1 = _mm_add_ps(q1, sq1);
            q2 = _mm_add_ps(q2, sq2);
            qk = _mm_add_ps(qk, sqk);
        }
        block(keys + (blocks - 1) * kLanes, inLast);   // lanes past the box's last column are left as they are
        rp0 = _mm_add_ps(rp0, _mm_set1_ps(p.w0y));
        rp1 = _mm_add_ps(rp1, _mm_set1_ps(p.w1y));
        rp2 = _mm_add_ps(rp2, _mm_set1_ps(p.w2y));
        rpk = _mm_add_ps(rpk, _mm_set1_ps(p.ky));
        rq0 = _mm_add_ps(rq0, _mm_set1_ps(q.w0y));
        rq1 = _mm_add_ps(rq1, _mm_set1_ps(q.w1y));
        rq2 = _mm_add_ps(rq2, _mm_set1_ps(q.w2y));
        rqk = _mm_add_ps(rqk, _mm_set1_ps(q.ky));
    }
#else
    for (int r = 0; r <= r1 - r0; ++r) {
        float* keys = m_keys.data() + static_cast<size_t>(r0 + r) * kCanvasSide + c0;
        for (int i = 0; i < cols; ++i)
            for (const Plane* t : {&p, &q}) {
                const float x = static_cast<float>(i), y = static_cast<float>(r);
                const float key = t->k + t->kx * x + t->ky * y;
                if (t->w0 + t->w0x * x + t->w0y * y >= 0.0f && t->w1 + t->w1x * x + t->w1y * y >= 0.0f &&
                    t->w2 + t->w2x * x + t->w2y * y >= 0.0f && key > keys[i])
                    keys[i] = key;
            }
    }
#endif
}

void DepthBuffer::AddTriangle(ScreenPoint a, ScreenPoint b, ScreenPoint c)
{
    // The pixels whose centres may be inside: centre c + 0.5 between the least and greatest x.
    const int c0 = CeilIndex(std::min(a.col, std::min(b.col, c.col)) - 0.5);
    const int c1 = FloorIndex(std::max(a.col, std::max(b.col, c.col)) - 0.5);
    const int r0 = CeilIndex(std::min(a.row, std::min(b.row, c.row)) - 0.5);
    const int r1 = FloorIndex(std::max(a.row, std::max(b.row, c.row)) - 0.5);
    Plane p;
    if (c1 < c0 || r1 < r0 || !PlaneOf(a, b, c, c0 + 0.5, r0 + 0.5, p))
        return;
    FillBox(c0, c1, r0, r1, p, p);   // the plane twice: one loop serves triangles and quads
}

void DepthBuffer::AddQuad(ScreenPoint a, ScreenPoint b, ScreenPoint c, ScreenPoint d)
{
    const int c0 = CeilIndex(std::min(std::min(a.col, b.col), std::min(c.col, d.col)) - 0.5);
    const int c1 = FloorIndex(std::max(std::max(a.col, b.col), std::max(c.col, d.col)) - 0.5);
    const int r0 = CeilIndex(std::min(std::min(a.row, b.row), std::min(c.row, d.row)) - 0.5);
    const int r1 = FloorIndex(std::max(std::max(a.row, b.row), std::max(c.row, d.row)) - 0.5);
    if (c1 < c0 || r1 < r0)
        return;
    Plane p, q;
#if defined(__SSE2__)
    bool first = false, second = false;
    PlanesOf(a, b, c, d, c0 + 0.5, r0 + 0.5, p, first, q, second);
#else
    const bool first = PlaneOf(a, b, c, c0 + 0.5, r0 + 0.5, p), second = PlaneOf(a, c, d, c0 + 0.5, r0 + 0.5, q);
#endif
    if (first && second)
        FillBox(c0, c1, r0, r1, p, q);
    else if (first)
        FillBox(c0, c1, r0, r1, p, p);
    else if (second)
        FillBox(c0, c1, r0, r1, q, q);
}
