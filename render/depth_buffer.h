// The depth of the square: the nearest facet at every pixel, for hiding lines behind a surface.
// Never shown. Depth is held as a key that is linear across the screen and larger when nearer:
// 1 / distance for a perspective eye, minus the distance for a parallel one.
#pragma once

#include <cstddef>
#include <vector>

#include "render/canvas.h"

struct ScreenPoint {
    double col, row;   // continuous picture coordinates: pixel (c, r) covers [c, c+1) x [r, r+1)
    double key;        // the depth key; see above
};

struct FacetPlane;   // a triangle set up for filling; see depth_buffer.cpp

class DepthBuffer {
public:
    // Empty: every pixel infinitely far. perspective chooses the key; tolerance is the distance,
    // in world units, by which a line may lie behind a facet and still be seen.
    void Reset(bool perspective, double tolerance);

    // The triangle's nearest keys into every pixel whose centre it covers; degenerate ones add nothing.
    void AddTriangle(ScreenPoint a, ScreenPoint b, ScreenPoint c);
    // The triangles a b c and a c d, the two halves of a quad, in one pass over their box.
    void AddQuad(ScreenPoint a, ScreenPoint b, ScreenPoint c, ScreenPoint d);

    // Whether a line point of depth key at pixel (col, row) is seen; outside the square it is.
    bool Sees(long long col, long long row, double key) const
    {
        if (col < 0 || col >= kCanvasSide || row < 0 || row >= kCanvasSide)
            return true;
        return SeesAt(static_cast<std::size_t>(row) * kCanvasSide + static_cast<std::size_t>(col), key);
    }
    // Sees for the pixel at index row * kCanvasSide + col of the square, which must be inside.
    bool SeesAt(std::size_t index, double key) const
    {
        const double nearest = m_keys[index];
        if (m_perspective)   // distance(line) <= distance(facet) + tolerance, without a division
            return key * (1.0 + m_tolerance * nearest) >= nearest;
        return key >= nearest - m_tolerance;
    }

    // Seen[i] for the pixels index + i * step... of a walk: whether a line point there, of key
    // first + perStep * i, is seen. For the common case of a line inside the square, in one loop.
    template <class Steps>
    void SeesAlong(std::size_t count, double first, double perStep, Steps&& indexOf, bool* seen) const
    {
        const float* keys = m_keys.data();
        const double tolerance = m_tolerance;
        if (m_perspective)
            for (std::size_t i = 0; i < count; ++i) {
                const double nearest = keys[indexOf(i)], key = first + perStep * static_cast<double>(i);
                seen[i] = key * (1.0 + tolerance * nearest) >= nearest;
            }
        else
            for (std::size_t i = 0; i < count; ++i)
                seen[i] = first + perStep * static_cast<double>(i) >= keys[indexOf(i)] - tolerance;
    }

    // The nearest key at a pixel inside the square.
    float KeyAt(int col, int row) const { return m_keys[static_cast<std::size_t>(row) * kCanvasSide + col]; }

private:
    void FillBox(int c0, int c1, int r0, int r1, const FacetPlane& p, const FacetPlane& q);

    std::vector<float> m_keys;
    bool               m_perspective = true;
    float              m_empty = 0.0f;              // the key m_keys was last cleared to
    int                m_firstRow = 0, m_lastRow = kCanvasSide - 1;   // rows FillBox wrote since
    double             m_tolerance = 0.0;
};
