// Filling the depth of the square with a wireframe's facets. The work is done by one template
// (facet_fill.h) built once per instruction set, each computing the same floats in the same
// order: the buffer, and so the hidden-line picture, is the same on every machine.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kFillLanes = 8;   // pixels taken at once; the buffer has this many spare floats at its end

// Facets as the fill sees them: points in continuous picture coordinates (pixel (c, r) covers
// [c, c+1) x [r, r+1)) with their depth keys, and triangles as three point indices each. A grid
// lists the two halves of a quad a b c, a c d one after the other; they are filled in one pass.
// A point is usable when its col, row and key are all finite: a facet with one that is not
// (reaching behind a perspective eye) cannot be drawn flat, and hides nothing.
struct FacetMesh {
    const double*        cols;
    const double*        rows;
    const double*        keys;
    const std::uint8_t*  usable;
    std::size_t          points;
    const std::uint32_t* triangles;
    std::size_t          indices;   // three per triangle
};

// The rows of the square a fill wrote into, widened by each fill.
struct RowsWritten {
    int first, last;
};

// The ways of filling; all give the same bits.
enum class FillPath { kPortable, kSse2, kAvx2 };

// keys is the square, kCanvasSide floats wide, followed by kFillLanes spare floats.
using FacetFillFunction = void (*)(float* keys, const FacetMesh& mesh, RowsWritten& written);

bool FillPathAvailable(FillPath path);   // built in and supported by this processor
FillPath FastestFillPath();
FacetFillFunction FacetFillFor(FillPath path);   // the portable one when path is not available
