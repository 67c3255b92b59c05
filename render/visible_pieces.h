// A segment's visible pieces: its pixels walked as the pictures walk them, tested against the
// depth of the square, and the runs that are seen handed on as strokes.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "render/canvas.h"
#include "render/depth_buffer.h"
#include "render/line_walk.h"
#include "render/seen_runs.h"
#include "render/stroke_pen.h"

namespace visible_pieces {

// A walk's pixels as offsets into the square, and which of them are seen: kept off the stack,
// as every short segment would otherwise pay for setting up a frame this large.
struct WalkScratch {
    std::uint32_t index[kCanvasSide];   // a line inside the square has at most this many pixels
    bool          seen[kCanvasSide];
};

// The walks shorter than a block, by the walk's own closed form: for each direction, major and
// minor length, the offset in the square of step i from the first pixel, past the last pixel
// staying on it. Directions are numbered by xMajor * 4 + (major step < 0) * 2 + (minor step < 0).
inline constexpr int kShortWalk = 8;

using ShortWalkOffsets = std::array<std::int16_t, kShortWalk>;

inline constexpr auto kShortWalks = [] {
    std::array<std::array<std::array<ShortWalkOffsets, kShortWalk>, kShortWalk>, 8> walks{};
    for (int direction = 0; direction < 8; ++direction) {
        const bool xMajor = direction & 4;
        const int majorStep = (direction & 2 ? -1 : 1) * (xMajor ? 1 : kCanvasSide);
        const int minorStep = (direction & 1 ? -1 : 1) * (xMajor ? kCanvasSide : 1);
        for (int major = 0; major < kShortWalk; ++major)
            for (int minor = 0; minor <= major; ++minor)
                for (int i = 0; i < kShortWalk; ++i) {
                    const int step = std::min(i, major);
                    const int offset = major == 0 ? 0 : (2 * minor * step + major) / (2 * major);
                    walks[direction][major][minor][i] = static_cast<std::int16_t>(step * majorStep + offset * minorStep);
                }
    }
    return walks;
}();

// index[i] = first + offsets[i] for the eight steps.
inline void ShortWalkIndices(std::uint32_t first, const ShortWalkOffsets& offsets, std::uint32_t* index)
{
#if defined(__SSE2__)
    const __m128i steps = _mm_loadu_si128(reinterpret_cast<const __m128i*>(offsets.data()));
    const __m128i start = _mm_set1_epi32(static_cast<int>(first));
    // Each 16-bit offset into the high half of a 32-bit lane, then shifted down with its sign.
    const __m128i low = _mm_srai_epi32(_mm_unpacklo_epi16(steps, steps), 16);
    const __m128i high = _mm_srai_epi32(_mm_unpackhi_epi16(steps, steps), 16);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(index), _mm_add_epi32(start, low));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(index + 4), _mm_add_epi32(start, high));
#else
    for (int i = 0; i < kShortWalk; ++i)
        index[i] = static_cast<std::uint32_t>(static_cast<int>(first) + offsets[i]);
#endif
}

// The pixel of step i of the walk from -> to, by the walk's own closed form.
inline Pixel PixelAtStep(Pixel from, Pixel to, long long i)
{
    const long long dx = std::llabs(static_cast<long long>(to.col) - from.col);
    const long long dy = std::llabs(static_cast<long long>(to.row) - from.row);
    const long long sx = to.col < from.col ? -1 : 1, sy = to.row < from.row ? -1 : 1;
    const bool xMajor = dx >= dy;
    const long long major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
    const long long offset = major == 0 ? 0 : (2 * minor * i + major) / (2 * major);
    if (xMajor)
        return {static_cast<int>(from.col + sx * i), static_cast<int>(from.row + sy * offset)};
    return {static_cast<int>(from.col + sx * offset), static_cast<int>(from.row + sy * i)};
}

// Hands a seen run of the walk from -> to on as a stroke between its first and last pixels.
// Always inlined, as the hidden runs it drops are most of its calls.
template <class Sink>
struct SeenPixelRun {
    Pixel from, to;
    Rgb   colour;
    Sink& strokes;

    [[gnu::always_inline]] void operator()(long long first, long long last, bool seen) const
    {
        if (seen)
            strokes(Stroke{first == 0 ? from : PixelAtStep(from, to, first),
                           last == kToTheEnd ? to : PixelAtStep(from, to, last), colour});
    }
};

// The runs of a walk inside the square whose pixels were not all seen.
template <class Sink>
[[gnu::noinline]] void AddSeenRuns(Pixel from, Pixel to, const bool* seen, std::size_t count, Rgb colour, Sink& strokes)
{
    SeenRuns runs(SeenPixelRun<Sink>{from, to, colour, strokes});
    for (std::size_t i = 0; i < count; ++i)
        runs.Step(static_cast<long long>(i), seen[i]);
    runs.End();
}

// AddVisiblePieces for a segment with an end outside the square, walked with clipping.
template <class Sink>
[[gnu::noinline]] void AddVisiblePiecesClipped(Pixel from, Pixel to, double ka, double kb, Rgb colour,
                                               const DepthBuffer& depth, Sink& strokes)
{
    SeenRuns runs(SeenPixelRun<Sink>{from, to, colour, strokes});
    double perStep = NAN;   // known once the walk tells the number of steps
    const bool exact = WalkLine(from, to, kCanvasSide, kCanvasSide, [&](long long i, long long col, long long row, long long m) {
        if (std::isnan(perStep))
            perStep = m == 0 ? 0.0 : (kb - ka) / static_cast<double>(m);
        runs.Step(i, depth.Sees(col, row, m == 0 ? std::max(ka, kb) : ka + perStep * static_cast<double>(i)));
    });
    if (!exact) {   // ends far beyond the picture: too near the eye's plane to test; drawn whole
        strokes(Stroke{from, to, colour});
        return;
    }
    runs.End();
}

// The visible pieces of from -> to (keys ka, kb at the ends) as strokes. Inlined into the loop
// over segments, which are mostly a few pixels long: the rare cases are calls.
template <class Sink>
[[gnu::always_inline]] inline void AddVisiblePieces(Pixel from, Pixel to, double ka, double kb, Rgb colour,
                                                    const DepthBuffer& depth, WalkScratch& walk, Sink& strokes)
{
    auto inside = [](Pixel p) {
        return static_cast<unsigned>(p.col) < unsigned(kCanvasSide) && static_cast<unsigned>(p.row) < unsigned(kCanvasSide);
    };
    if (!inside(from) || !inside(to)) {
        AddVisiblePiecesClipped(from, to, ka, kb, colour, depth, strokes);
        return;
    }
    // The walk of the pictures, by pointer: the pixel indices first, then every test, then the runs.
    const int dx = std::abs(to.col - from.col), dy = std::abs(to.row - from.row);
    const bool xMajor = dx >= dy;
    const int major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
    const bool majorBack = xMajor ? to.col < from.col : to.row < from.row;
    const bool minorBack = xMajor ? to.row < from.row : to.col < from.col;
    std::uint32_t* const index = walk.index;
    bool* const seen = walk.seen;
    const std::uint32_t first = static_cast<std::uint32_t>(from.row) * kCanvasSide + static_cast<std::uint32_t>(from.col);
    const std::size_t count = static_cast<std::size_t>(major) + 1;
    if (major < kShortWalk) {
        // Most segments are short: their indices come from a table and are tested at once, eight
        // of them, past the end repeating the last pixel, so that no branch depends on the length.
        ShortWalkIndices(first, kShortWalks[xMajor * 4 + majorBack * 2 + minorBack][major][minor], index);
        const unsigned seenBits = major == 0 ? depth.SeenOfEight(index, 0, static_cast<float>(std::max(ka, kb)), 0.0f)
                                             : depth.SeenOfEight(index, static_cast<unsigned>(major), static_cast<float>(ka),
                                                                 static_cast<float>((kb - ka) / major));
        if (seenBits == 0xFF && strokes.Walked(to, index, kShortWalk, colour))
            return;   // seen whole: its pixels are already known
        for (std::size_t i = 0; i < count; ++i)
            seen[i] = (seenBits >> i) & 1;
    } else {
        const std::ptrdiff_t majorStep = (majorBack ? -1 : 1) * (xMajor ? 1 : kCanvasSide);
        const std::ptrdiff_t minorStep = (minorBack ? -1 : 1) * (xMajor ? kCanvasSide : 1);
        std::ptrdiff_t at = first;
        int remainder = major;
        for (int i = 0;; ++i) {   // the minor step without a branch: on a slanted line it has no pattern
            index[i] = static_cast<std::uint32_t>(at);
            if (i == major)
                break;
            remainder += 2 * minor;
            const bool carry = remainder >= 2 * major;
            remainder -= carry ? 2 * major : 0;
            at += majorStep + (carry ? minorStep : 0);
        }
        if (depth.SeesAlong(count, ka, (kb - ka) / major, index, seen) && strokes.Walked(to, index, count, colour))
            return;
    }
    AddSeenRuns(from, to, seen, count, colour, strokes);
}

}   // namespace visible_pieces
