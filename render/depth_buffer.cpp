// The depth of the square: cleared where the last facets wrote, filled by the fastest fill.
#include "render/depth_buffer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

void DepthBuffer::Reset(bool perspective, double tolerance)
{
    m_perspective = perspective;
    m_tolerance = tolerance;
    // Perspective keys are positive; a parallel eye's are any sign.
    const float empty = perspective ? 0.0f : -std::numeric_limits<float>::infinity();
    const size_t size = static_cast<size_t>(kCanvasSide) * kCanvasSide + kFillLanes;
    if (m_keys.size() != size || !(m_empty == empty))
        m_keys.assign(size, empty);
    else if (m_firstRow <= m_lastRow) {   // only the rows the last facets wrote can hold a key
        float* const first = m_keys.data() + static_cast<std::ptrdiff_t>(m_firstRow) * kCanvasSide;
        const std::size_t count = static_cast<std::size_t>(m_lastRow + 1 - m_firstRow) * kCanvasSide;
        if (std::signbit(empty) || empty != 0.0f)
            std::fill(first, first + count, empty);
        else   // +0.0f is all zero bytes, which the C library clears fastest
            std::memset(first, 0, count * sizeof(float));
    }
    m_empty = empty;
    m_firstRow = kCanvasSide;
    m_lastRow = -1;
}

const std::uint8_t* UsablePoints(const double* cols, const double* rows, const double* keys, std::size_t count,
                                 std::uint8_t* usable)
{
    // x - x is 0 for a finite x and NaN otherwise; the sum without a branch runs two points at once.
    for (std::size_t i = 0; i < count; ++i)
        usable[i] = (cols[i] - cols[i]) + (rows[i] - rows[i]) + (keys[i] - keys[i]) == 0.0;
    return usable;
}

void DepthBuffer::AddFacets(const FacetMesh& mesh)
{
    RowsWritten written{m_firstRow, m_lastRow};
    m_fill(m_keys.data(), mesh, written);
    m_firstRow = written.first;
    m_lastRow = written.last;
}

void DepthBuffer::AddTriangle(ScreenPoint a, ScreenPoint b, ScreenPoint c)
{
    const double cols[] = {a.col, b.col, c.col}, rows[] = {a.row, b.row, c.row}, keys[] = {a.key, b.key, c.key};
    const std::uint32_t triangle[] = {0, 1, 2};
    std::uint8_t usable[3];
    AddFacets({cols, rows, keys, UsablePoints(cols, rows, keys, 3, usable), 3, triangle, 3});
}

void DepthBuffer::AddQuad(ScreenPoint a, ScreenPoint b, ScreenPoint c, ScreenPoint d)
{
    const double cols[] = {a.col, b.col, c.col, d.col}, rows[] = {a.row, b.row, c.row, d.row};
    const double keys[] = {a.key, b.key, c.key, d.key};
    const std::uint32_t halves[] = {0, 1, 2, 0, 2, 3};
    std::uint8_t usable[4];
    AddFacets({cols, rows, keys, UsablePoints(cols, rows, keys, 4, usable), 4, halves, 6});
}
