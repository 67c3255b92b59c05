// The facet fill, included by each file that builds it for one instruction set. Everything here
// has internal linkage, so that no copy built for one instruction set can stand in for another's.
#pragma once

#include <initializer_list>

#include "render/canvas.h"
#include "render/depth_fill.h"
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__EMSCRIPTEN__)
#include <wasm_simd128.h>
#endif

namespace {   // NOLINT: one copy per including file, by design

// A triangle's three barycentric weights and its key, each linear over the screen: the value at
// the first pixel centre of a box and the steps per column and per row, in single precision. The
// weights are edge functions divided by the area, so their sign is the same for both windings:
// a weight whose sign bit is clear is inside.
struct FacetPlane {
    float w0, w0x, w0y, w1, w1x, w1y, w2, w2x, w2y, k, kx, ky;
};

struct Corner {
    double col, row, key;
};

inline double Least(double a, double b) { return b < a ? b : a; }
inline double Most(double a, double b) { return a < b ? b : a; }

// floor(v) clamped above to the last pixel; -1 below the first, and for NaN.
inline int FloorIndex(double v)
{
    if (!(v >= 0.0))
        return -1;
    return v >= kCanvasSide - 1 ? kCanvasSide - 1 : static_cast<int>(v);
}

// ceil(v) clamped below to the first pixel; kCanvasSide past the last, and for NaN.
inline int CeilIndex(double v)
{
    if (!(v <= kCanvasSide - 1))
        return kCanvasSide;
    if (v <= 0.0)
        return 0;
    const int i = static_cast<int>(v);
    return i + (i < v);
}

// Whether every value of the plane, stepped across the square, stays a finite float: then a
// weight is inside exactly when its sign bit is clear. Only a sliver reaching far beyond the
// square can fail this.
constexpr double kTameLimit = 1e30;

inline bool Tame(const FacetPlane& p)
{
    const float most = kTameLimit;
    return __builtin_fabsf(p.w0) <= most && __builtin_fabsf(p.w0x) <= most && __builtin_fabsf(p.w0y) <= most &&
           __builtin_fabsf(p.w1) <= most && __builtin_fabsf(p.w1x) <= most && __builtin_fabsf(p.w1y) <= most &&
           __builtin_fabsf(p.w2) <= most && __builtin_fabsf(p.w2x) <= most && __builtin_fabsf(p.w2y) <= most &&
           __builtin_fabsf(p.k) <= most && __builtin_fabsf(p.kx) <= most && __builtin_fabsf(p.ky) <= most;
}

// The plane of a b c set up at the pixel centre (x0, y0); false when it has no area.
inline bool PlaneOf(Corner a, Corner b, Corner c, double x0, double y0, FacetPlane& p)
{
    const double area = (b.col - a.col) * (c.row - a.row) - (b.row - a.row) * (c.col - a.col);
    if (!(__builtin_fabs(area) > 1e-12))   // also NaN
        return false;
    const double inv = 1.0 / area;
    auto edgeAt = [inv, x0, y0](Corner from, Corner to) {
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
// Also tells which planes are tame (see Tame), from their doubles.
inline void PlanesOf(Corner a, Corner b, Corner c, Corner d, double x0, double y0, FacetPlane& p, bool& first,
                     FacetPlane& q, bool& second, bool& tameP, bool& tameQ)
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
    auto low = [](__m128d v) { return _mm_cvtss_f32(_mm_cvtpd_ps(v)); };
    auto high = [](__m128d v) {   // the second lane of the same conversion: the same float
        const __m128 f = _mm_cvtpd_ps(v);
        return _mm_cvtss_f32(_mm_shuffle_ps(f, f, _MM_SHUFFLE(1, 1, 1, 1)));
    };
    const __m128d k = keyOf(wa, wb, wc), kx = keyOf(ax, bx, cx), ky = keyOf(ay, by, cy);
    __m128d most = _mm_andnot_pd(sign, wa);
    for (const __m128d v : {ax, ay, wb, bx, by, wc, cx, cy, k, kx, ky})
#if defined(__EMSCRIPTEN__)
        most = wasm_f64x2_pmax(_mm_andnot_pd(sign, v), most);   // _mm_max_pd in one instruction
#else
        most = _mm_max_pd(most, _mm_andnot_pd(sign, v));
#endif
    const int tame = _mm_movemask_pd(_mm_cmple_pd(most, _mm_set1_pd(kTameLimit)));   // false for NaN
    tameP = (tame & 1) != 0;
    tameQ = (tame & 2) != 0;
    p = {low(wa), low(ax), low(ay), low(wb), low(bx), low(by), low(wc), low(cx), low(cy), low(k), low(kx), low(ky)};
    q = {high(wa), high(ax), high(ay), high(wb), high(bx), high(by), high(wc), high(cx), high(cy), high(k),
         high(kx), high(ky)};
}
#endif

// Pixel by pixel for planes that are not tame: a weight is inside when it is >= 0, so that
// infinities and NaNs are outside.
inline void FillOneByOne(float* keys, int cols, int rows, const FacetPlane& p, const FacetPlane& q)
{
    for (int r = 0; r < rows; ++r, keys += kCanvasSide)
        for (int i = 0; i < cols; ++i)
            for (const FacetPlane* t : {&p, &q}) {
                const float x = static_cast<float>(i), y = static_cast<float>(r);
                const float key = t->k + t->kx * x + t->ky * y;
                if (t->w0 + t->w0x * x + t->w0y * y >= 0.0f && t->w1 + t->w1x * x + t->w1y * y >= 0.0f &&
                    t->w2 + t->w2x * x + t->w2y * y >= 0.0f && key > keys[i])
                    keys[i] = key;
            }
}

// The nearest keys of two planes into the box's pixels whose centres they cover; the planes are
// set up at the box's first pixel centre. A Pack holds kFillLanes floats: Max is the processor's
// maximum (the second operand when either is a NaN), SignMask spreads each sign bit over its lane,
// BySign(m, a, b) is a where m's sign bit is set and b elsewhere.
// Facets are a few pixels wide, so each row is walked whole, without branches; past the box's
// last column lanes are masked off, so a row may end in the next one's first pixels, or in the
// spare floats, without changing them. Each row starts from the last row's plus one row step.
template <class Pack>
void FillBox(float* keys, int cols, int rows, const FacetPlane& p, const FacetPlane& q)
{
    const int blocks = (cols + kFillLanes - 1) / kFillLanes;
    const Pack past = Pack::SignFrom(cols - (blocks - 1) * kFillLanes);
    Pack rp0 = Pack::Ramp(p.w0, p.w0x), rp1 = Pack::Ramp(p.w1, p.w1x), rp2 = Pack::Ramp(p.w2, p.w2x);
    Pack rpk = Pack::Ramp(p.k, p.kx);
    Pack rq0 = Pack::Ramp(q.w0, q.w0x), rq1 = Pack::Ramp(q.w1, q.w1x), rq2 = Pack::Ramp(q.w2, q.w2x);
    Pack rqk = Pack::Ramp(q.k, q.kx);
    constexpr float across = kFillLanes;
    const Pack sp0 = Pack::Splat(across * p.w0x), sp1 = Pack::Splat(across * p.w1x), sp2 = Pack::Splat(across * p.w2x);
    const Pack spk = Pack::Splat(across * p.kx);
    const Pack sq0 = Pack::Splat(across * q.w0x), sq1 = Pack::Splat(across * q.w1x), sq2 = Pack::Splat(across * q.w2x);
    const Pack sqk = Pack::Splat(across * q.kx);
    for (int r = 0; r < rows; ++r, keys += kCanvasSide) {
        Pack p0 = rp0, p1 = rp1, p2 = rp2, pk = rpk, q0 = rq0, q1 = rq1, q2 = rq2, qk = rqk;
        // A lane is inside a plane when no weight has its sign bit set; the key of a lane
        // outside becomes a NaN, which the maximum with the buffer passes over.
        auto block = [&](float* at, bool last) {
            Pack outP = Pack::Or(Pack::Or(p0, p1), p2), outQ = Pack::Or(Pack::Or(q0, q1), q2);
            if (last) {
                outP = Pack::Or(outP, past);
                outQ = Pack::Or(outQ, past);
            }
            const Pack keyP = Pack::Or(pk, Pack::SignMask(outP)), keyQ = Pack::Or(qk, Pack::SignMask(outQ));
            Pack::Store(at, Pack::Max(keyQ, Pack::Max(keyP, Pack::Load(at))));
        };
        for (int j = 0; j < blocks - 1; ++j) {
            block(keys + j * kFillLanes, false);
            p0 = Pack::Add(p0, sp0);
            p1 = Pack::Add(p1, sp1);
            p2 = Pack::Add(p2, sp2);
            pk = Pack::Add(pk, spk);
            q0 = Pack::Add(q0, sq0);
            q1 = Pack::Add(q1, sq1);
            q2 = Pack::Add(q2, sq2);
            qk = Pack::Add(qk, sqk);
        }
        block(keys + (blocks - 1) * kFillLanes, true);
        rp0 = Pack::Add(rp0, Pack::Splat(p.w0y));
        rp1 = Pack::Add(rp1, Pack::Splat(p.w1y));
        rp2 = Pack::Add(rp2, Pack::Splat(p.w2y));
        rpk = Pack::Add(rpk, Pack::Splat(p.ky));
        rq0 = Pack::Add(rq0, Pack::Splat(q.w0y));
        rq1 = Pack::Add(rq1, Pack::Splat(q.w1y));
        rq2 = Pack::Add(rq2, Pack::Splat(q.w2y));
        rqk = Pack::Add(rqk, Pack::Splat(q.ky));
    }
}

// FillBox for a convex quad a b c d whose halves are p = a b c and q = a c d: a lane is inside
// when none of the outline's four weights (p's for b c and a b, q's for c d and d a) has its sign
// bit set, and takes p's key on p's side of the diagonal a c, q's on the other. Fewer values to
// step and test than two triangles; the same pixels but where rounding decides.
template <class Pack>
void FillConvexBox(float* keys, int cols, int rows, const FacetPlane& p, const FacetPlane& q)
{
    const int blocks = (cols + kFillLanes - 1) / kFillLanes;
    const Pack past = Pack::SignFrom(cols - (blocks - 1) * kFillLanes);
    Pack r0 = Pack::Ramp(p.w0, p.w0x), r1 = Pack::Ramp(p.w2, p.w2x), r2 = Pack::Ramp(q.w0, q.w0x);
    Pack r3 = Pack::Ramp(q.w1, q.w1x), rd = Pack::Ramp(p.w1, p.w1x), rp = Pack::Ramp(p.k, p.kx), rq = Pack::Ramp(q.k, q.kx);
    constexpr float across = kFillLanes;
    const Pack s0 = Pack::Splat(across * p.w0x), s1 = Pack::Splat(across * p.w2x), s2 = Pack::Splat(across * q.w0x);
    const Pack s3 = Pack::Splat(across * q.w1x), sd = Pack::Splat(across * p.w1x), sp = Pack::Splat(across * p.kx);
    const Pack sq = Pack::Splat(across * q.kx);
    for (int r = 0; r < rows; ++r, keys += kCanvasSide) {
        Pack e0 = r0, e1 = r1, e2 = r2, e3 = r3, diagonal = rd, kp = rp, kq = rq;
        auto block = [&](float* at, bool last) {
            Pack out = Pack::Or(Pack::Or(e0, e1), Pack::Or(e2, e3));
            if (last)
                out = Pack::Or(out, past);
            const Pack key = Pack::Or(Pack::BySign(diagonal, kq, kp), Pack::SignMask(out));
            Pack::Store(at, Pack::Max(key, Pack::Load(at)));
        };
        for (int j = 0; j < blocks - 1; ++j) {
            block(keys + j * kFillLanes, false);
            e0 = Pack::Add(e0, s0);
            e1 = Pack::Add(e1, s1);
            e2 = Pack::Add(e2, s2);
            e3 = Pack::Add(e3, s3);
            diagonal = Pack::Add(diagonal, sd);
            kp = Pack::Add(kp, sp);
            kq = Pack::Add(kq, sq);
        }
        block(keys + (blocks - 1) * kFillLanes, true);
        r0 = Pack::Add(r0, Pack::Splat(p.w0y));
        r1 = Pack::Add(r1, Pack::Splat(p.w2y));
        r2 = Pack::Add(r2, Pack::Splat(q.w0y));
        r3 = Pack::Add(r3, Pack::Splat(q.w1y));
        rd = Pack::Add(rd, Pack::Splat(p.w1y));
        rp = Pack::Add(rp, Pack::Splat(p.ky));
        rq = Pack::Add(rq, Pack::Splat(q.ky));
    }
}

template <class Pack>
void FillPlanes(float* keys, int c0, int c1, int r0, int r1, const FacetPlane& p, const FacetPlane& q, bool tame,
                RowsWritten& written)
{
    written.first = r0 < written.first ? r0 : written.first;
    written.last = r1 > written.last ? r1 : written.last;
    float* const first = keys + r0 * kCanvasSide + c0;
    if (tame)
        FillBox<Pack>(first, c1 - c0 + 1, r1 - r0 + 1, p, q);
    else
        FillOneByOne(first, c1 - c0 + 1, r1 - r0 + 1, p, q);
}

// The pixels whose centres may be inside corners: centre c + 0.5 between the least and greatest.
struct Box {
    int c0, c1, r0, r1;
    bool Empty() const { return c1 < c0 || r1 < r0; }
};

inline Box BoxOf(double leastCol, double mostCol, double leastRow, double mostRow)
{
    return {CeilIndex(leastCol - 0.5), FloorIndex(mostCol - 0.5), CeilIndex(leastRow - 0.5), FloorIndex(mostRow - 0.5)};
}

template <class Pack>
void FillTriangle(float* keys, Corner a, Corner b, Corner c, RowsWritten& written)
{
    const Box box = BoxOf(Least(a.col, Least(b.col, c.col)), Most(a.col, Most(b.col, c.col)),
                          Least(a.row, Least(b.row, c.row)), Most(a.row, Most(b.row, c.row)));
    FacetPlane p;
    if (box.Empty() || !PlaneOf(a, b, c, box.c0 + 0.5, box.r0 + 0.5, p))
        return;
    FillPlanes<Pack>(keys, box.c0, box.c1, box.r0, box.r1, p, p, Tame(p), written);   // the plane twice: one loop serves both
}

// Whether a b c d turns the same way, strictly, at every corner: a convex quad.
inline bool Convex(Corner a, Corner b, Corner c, Corner d)
{
    auto turn = [](Corner from, Corner at, Corner to) {
        return (at.col - from.col) * (to.row - at.row) - (at.row - from.row) * (to.col - at.col);
    };
    const double ta = turn(d, a, b), tb = turn(a, b, c), tc = turn(b, c, d), td = turn(c, d, a);
    return (ta > 0.0 && tb > 0.0 && tc > 0.0 && td > 0.0) || (ta < 0.0 && tb < 0.0 && tc < 0.0 && td < 0.0);
}

template <class Pack>
void FillQuad(float* keys, Corner a, Corner b, Corner c, Corner d, RowsWritten& written)
{
    const Box box = BoxOf(Least(Least(a.col, b.col), Least(c.col, d.col)), Most(Most(a.col, b.col), Most(c.col, d.col)),
                          Least(Least(a.row, b.row), Least(c.row, d.row)), Most(Most(a.row, b.row), Most(c.row, d.row)));
    if (box.Empty())
        return;
    FacetPlane p, q;
#if defined(__SSE2__)
    bool first = false, second = false, tameP = false, tameQ = false;
    PlanesOf(a, b, c, d, box.c0 + 0.5, box.r0 + 0.5, p, first, q, second, tameP, tameQ);
#else
    const bool first = PlaneOf(a, b, c, box.c0 + 0.5, box.r0 + 0.5, p);
    const bool second = PlaneOf(a, c, d, box.c0 + 0.5, box.r0 + 0.5, q);
    const bool tameP = first && Tame(p), tameQ = second && Tame(q);
#endif
    if (first && second && tameP && tameQ && Convex(a, b, c, d)) {
        written.first = box.r0 < written.first ? box.r0 : written.first;
        written.last = box.r1 > written.last ? box.r1 : written.last;
        FillConvexBox<Pack>(keys + box.r0 * kCanvasSide + box.c0, box.c1 - box.c0 + 1, box.r1 - box.r0 + 1, p, q);
    } else if (first || second) {
        FillPlanes<Pack>(keys, box.c0, box.c1, box.r0, box.r1, first ? p : q, second ? q : p,
                         (!first || tameP) && (!second || tameQ), written);
    }
}

template <class Pack>
void FillFacets(float* keys, const FacetMesh& mesh, RowsWritten& written)
{
    const std::uint32_t* t = mesh.triangles;
    auto usable = [&mesh](std::uint32_t i) { return i < mesh.points && mesh.usable[i]; };
    auto corner = [&mesh](std::uint32_t i) { return Corner{mesh.cols[i], mesh.rows[i], mesh.keys[i]}; };
    auto triangle = [&](std::uint32_t a, std::uint32_t b, std::uint32_t c) {
        if (usable(a) && usable(b) && usable(c))
            FillTriangle<Pack>(keys, corner(a), corner(b), corner(c), written);
    };
    std::size_t i = 0;
    for (; i + 5 < mesh.indices; i += 6) {
        const std::uint32_t a = t[i], b = t[i + 1], c = t[i + 2], d = t[i + 5];
        if (t[i + 3] == a && t[i + 4] == c && usable(a) && usable(b) && usable(c) && usable(d))
            FillQuad<Pack>(keys, corner(a), corner(b), corner(c), corner(d), written);
        else {
            triangle(a, b, c);
            triangle(t[i + 3], t[i + 4], d);
        }
    }
    if (i + 2 < mesh.indices)
        triangle(t[i], t[i + 1], t[i + 2]);
}

}   // namespace
