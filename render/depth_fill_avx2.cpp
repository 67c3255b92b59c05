// The AVX2 fill, compiled for AVX2 and called only where the processor has it.
#include "render/depth_fill.h"

#include "render/facet_fill.h"

#include <immintrin.h>

namespace {

struct Avx2Pack {
    __m256 v;

    static Avx2Pack Splat(float x) { return {_mm256_set1_ps(x)}; }
    static Avx2Pack Ramp(float x, float perLane)
    {
        return {_mm256_add_ps(_mm256_set1_ps(x), _mm256_mul_ps(_mm256_set1_ps(perLane),
                                                               _mm256_set_ps(7, 6, 5, 4, 3, 2, 1, 0)))};
    }
    static Avx2Pack SignFrom(int lane)
    {
        const __m256 past = _mm256_cmp_ps(_mm256_set_ps(7, 6, 5, 4, 3, 2, 1, 0), _mm256_set1_ps(static_cast<float>(lane)),
                                          _CMP_GE_OQ);
        return {_mm256_and_ps(past, _mm256_set1_ps(-0.0f))};
    }
    static Avx2Pack Add(Avx2Pack a, Avx2Pack b) { return {_mm256_add_ps(a.v, b.v)}; }
    static Avx2Pack Max(Avx2Pack a, Avx2Pack b) { return {_mm256_max_ps(a.v, b.v)}; }
    static Avx2Pack Or(Avx2Pack a, Avx2Pack b) { return {_mm256_or_ps(a.v, b.v)}; }
    static Avx2Pack BySign(Avx2Pack mask, Avx2Pack ifSet, Avx2Pack ifClear)
    {
        return {_mm256_blendv_ps(ifClear.v, ifSet.v, mask.v)};
    }
    static Avx2Pack SignMask(Avx2Pack a)
    {
        return {_mm256_castsi256_ps(_mm256_srai_epi32(_mm256_castps_si256(a.v), 31))};
    }
    static Avx2Pack Load(const float* at) { return {_mm256_loadu_ps(at)}; }
    static void Store(float* at, Avx2Pack a) { _mm256_storeu_ps(at, a.v); }
};

}   // namespace

void FillAvx2(float* keys, const FacetMesh& mesh, RowsWritten& written)
{
    FillFacets<Avx2Pack>(keys, mesh, written);
}
