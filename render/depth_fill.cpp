// The portable and SSE2 fills, and the choice of the fastest the processor runs.
#include "render/depth_fill.h"

#include "render/facet_fill.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__EMSCRIPTEN__)
#include <wasm_simd128.h>
#endif

namespace {

// Lane by lane what the vector instructions do.
struct PortablePack {
    float v[kFillLanes];

    static PortablePack Splat(float x)
    {
        PortablePack out;
        for (float& lane : out.v)
            lane = x;
        return out;
    }
    static PortablePack Ramp(float x, float perLane)
    {
        PortablePack out;
        for (int i = 0; i < kFillLanes; ++i)
            out.v[i] = x + perLane * static_cast<float>(i);
        return out;
    }
    static PortablePack SignFrom(int lane)
    {
        PortablePack out;
        for (int i = 0; i < kFillLanes; ++i)
            out.v[i] = i < lane ? 0.0f : -0.0f;
        return out;
    }
    template <class Op>
    static PortablePack Each(PortablePack a, PortablePack b, Op op)
    {
        for (int i = 0; i < kFillLanes; ++i)
            a.v[i] = op(a.v[i], b.v[i]);
        return a;
    }
    static PortablePack Add(PortablePack a, PortablePack b) { return Each(a, b, [](float x, float y) { return x + y; }); }
    static PortablePack Max(PortablePack a, PortablePack b) { return Each(a, b, [](float x, float y) { return x > y ? x : y; }); }
    static PortablePack Or(PortablePack a, PortablePack b)
    {
        return Each(a, b, [](float x, float y) {
            return std::bit_cast<float>(std::bit_cast<std::uint32_t>(x) | std::bit_cast<std::uint32_t>(y));
        });
    }
    static PortablePack BySign(PortablePack mask, PortablePack ifSet, PortablePack ifClear)
    {
        for (int i = 0; i < kFillLanes; ++i)
            ifClear.v[i] = std::bit_cast<std::uint32_t>(mask.v[i]) >> 31 ? ifSet.v[i] : ifClear.v[i];
        return ifClear;
    }
    static PortablePack SignMask(PortablePack a)
    {
        for (float& lane : a.v)
            lane = std::bit_cast<float>(std::bit_cast<std::uint32_t>(lane) >> 31 ? ~std::uint32_t{0} : 0u);
        return a;
    }
    static PortablePack Load(const float* at)
    {
        PortablePack out;
        std::memcpy(out.v, at, sizeof out.v);
        return out;
    }
    static void Store(float* at, PortablePack a) { std::memcpy(at, a.v, sizeof a.v); }
};

void FillPortable(float* keys, const FacetMesh& mesh, RowsWritten& written)
{
    FillFacets<PortablePack>(keys, mesh, written);
}

#if defined(__SSE2__)
// Eight lanes as two halves.
struct Sse2Pack {
    __m128 lo, hi;

    static Sse2Pack Splat(float x) { return {_mm_set1_ps(x), _mm_set1_ps(x)}; }
    static Sse2Pack Ramp(float x, float perLane)
    {
        const __m128 v = _mm_set1_ps(x), step = _mm_set1_ps(perLane);
        return {_mm_add_ps(v, _mm_mul_ps(step, _mm_set_ps(3.0f, 2.0f, 1.0f, 0.0f))),
                _mm_add_ps(v, _mm_mul_ps(step, _mm_set_ps(7.0f, 6.0f, 5.0f, 4.0f)))};
    }
    static Sse2Pack SignFrom(int lane)
    {
        const __m128 n = _mm_set1_ps(static_cast<float>(lane)), sign = _mm_set1_ps(-0.0f);
        return {_mm_and_ps(sign, _mm_cmpge_ps(_mm_set_ps(3.0f, 2.0f, 1.0f, 0.0f), n)),
                _mm_and_ps(sign, _mm_cmpge_ps(_mm_set_ps(7.0f, 6.0f, 5.0f, 4.0f), n))};
    }
    static Sse2Pack Add(Sse2Pack a, Sse2Pack b) { return {_mm_add_ps(a.lo, b.lo), _mm_add_ps(a.hi, b.hi)}; }
#if defined(__EMSCRIPTEN__)
    // _mm_max_ps(a, b) exactly (b where either is a NaN) in one instruction, where emscripten's
    // own compares and selects.
    static Sse2Pack Max(Sse2Pack a, Sse2Pack b) { return {wasm_f32x4_pmax(b.lo, a.lo), wasm_f32x4_pmax(b.hi, a.hi)}; }
#else
    static Sse2Pack Max(Sse2Pack a, Sse2Pack b) { return {_mm_max_ps(a.lo, b.lo), _mm_max_ps(a.hi, b.hi)}; }
#endif
    static Sse2Pack Or(Sse2Pack a, Sse2Pack b) { return {_mm_or_ps(a.lo, b.lo), _mm_or_ps(a.hi, b.hi)}; }
    static Sse2Pack BySign(Sse2Pack mask, Sse2Pack ifSet, Sse2Pack ifClear)
    {
        const Sse2Pack m = SignMask(mask);
        return {_mm_or_ps(_mm_and_ps(m.lo, ifSet.lo), _mm_andnot_ps(m.lo, ifClear.lo)),
                _mm_or_ps(_mm_and_ps(m.hi, ifSet.hi), _mm_andnot_ps(m.hi, ifClear.hi))};
    }
    static Sse2Pack SignMask(Sse2Pack a)
    {
        return {_mm_castsi128_ps(_mm_srai_epi32(_mm_castps_si128(a.lo), 31)),
                _mm_castsi128_ps(_mm_srai_epi32(_mm_castps_si128(a.hi), 31))};
    }
    static Sse2Pack Load(const float* at) { return {_mm_loadu_ps(at), _mm_loadu_ps(at + 4)}; }
    static void Store(float* at, Sse2Pack a)
    {
        _mm_storeu_ps(at, a.lo);
        _mm_storeu_ps(at + 4, a.hi);
    }
};

void FillSse2(float* keys, const FacetMesh& mesh, RowsWritten& written)
{
    FillFacets<Sse2Pack>(keys, mesh, written);
}
#endif

}   // namespace

#if defined(VEXILON_FILL_AVX2)
void FillAvx2(float* keys, const FacetMesh& mesh, RowsWritten& written);   // depth_fill_avx2.cpp
#endif

bool FillPathAvailable(FillPath path)
{
    switch (path) {
    case FillPath::kPortable:
        return true;
    case FillPath::kSse2:
#if defined(__SSE2__)
        return true;
#else
        return false;
#endif
    case FillPath::kAvx2:
#if defined(VEXILON_FILL_AVX2)
        __builtin_cpu_init();   // harmless if done already; needed if asked before static constructors ran
        return __builtin_cpu_supports("avx2");
#else
        return false;
#endif
    }
    return false;
}

FillPath FastestFillPath()
{
    for (const FillPath path : {FillPath::kAvx2, FillPath::kSse2})
        if (FillPathAvailable(path))
            return path;
    return FillPath::kPortable;
}

FacetFillFunction FacetFillFor(FillPath path)
{
    if (!FillPathAvailable(path))
        return FillPortable;
#if defined(VEXILON_FILL_AVX2)
    if (path == FillPath::kAvx2)
        return FillAvx2;
#endif
#if defined(__SSE2__)
    if (path == FillPath::kSse2)
        return FillSse2;
#endif
    return FillPortable;
}
