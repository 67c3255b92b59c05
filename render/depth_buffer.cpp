// The depth of the square: cleared where the last facets wrote, filled by the fastest fill.
#include "render/depth_buffer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

void DepthBuffer::Reset(bool perspective, double tolerance, int side)
{
    m_perspective = perspective;
    m_tolerance = tolerance;
    // Perspective keys are positive; a parallel eye's are any sign.
    const float empty = perspective ? 0.0f : -std::numeric_limits<float>::infinity();
    const size_t size = static_cast<size_t>(side) * static_cast<size_t>(side) + kFillLanes;
    if (m_side != side || m_keys.size() != size || !(m_empty == empty))
        m_keys.assign(size, empty);
    else if (m_firstRow <= m_lastRow) {   // only the rows the last facets wrote can hold a key
        float* const first = m_keys.data() + static_cast<std::ptrdiff_t>(m_firstRow) * side;
        const std::size_t count = static_cast<std::size_t>(m_lastRow + 1 - m_firstRow) * static_cast<std::size_t>(side);
        if (std::signbit(empty) || empty != 0.0f)
            std::fill(first, first + count, empty);
        else   // +0.0f is all zero bytes, which the C library clears fastest
            std::memset(first, 0, count * sizeof(float));
    }
    m_side = side;
    m_empty = empty;
    m_firstRow = side;
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
    if (m_side != kCanvasSide)
        return;
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

void DepthBuffer::AddExactTriangle(const double* x, const double* y, const double* k)
{
    for (int i = 0; i < 3; ++i)
        if (!std::isfinite(x[i]) || !std::isfinite(y[i]) || !std::isfinite(k[i]))
            return;
    const double area = (x[1] - x[0]) * (y[2] - y[0]) - (y[1] - y[0]) * (x[2] - x[0]);
    if (area == 0.0 || !std::isfinite(area))
        return;
    // The key is linear across the screen: a plane through the three corners.
    const double kx = ((k[1] - k[0]) * (y[2] - y[0]) - (k[2] - k[0]) * (y[1] - y[0])) / area;
    const double ky = ((k[2] - k[0]) * (x[1] - x[0]) - (k[1] - k[0]) * (x[2] - x[0])) / area;
    const double top = std::min({y[0], y[1], y[2]}), bottom = std::max({y[0], y[1], y[2]});
    // Rows whose centre r + 0.5 lies within the triangle's height, inside the square.
    const double firstRow = std::max(0.0, std::ceil(top - 0.5)), lastRow = std::min(m_side - 1.0, std::floor(bottom - 0.5));
    if (firstRow <= lastRow) {   // the next Reset clears these rows
        m_firstRow = std::min(m_firstRow, static_cast<int>(firstRow));
        m_lastRow = std::max(m_lastRow, static_cast<int>(lastRow));
    }
    for (double r = firstRow; r <= lastRow; ++r) {
        const double cy = r + 0.5;
        double left = INFINITY, right = -INFINITY;
        for (int e = 0; e < 3; ++e) {
            const int f = (e + 1) % 3;
            const double y0 = y[e], y1 = y[f];
            if (y0 == y1 || cy < std::min(y0, y1) || cy > std::max(y0, y1))
                continue;
            const double cx = x[e] + (cy - y0) * (x[f] - x[e]) / (y1 - y0);
            left = std::min(left, cx);
            right = std::max(right, cx);
        }
        const double firstCol = std::max(0.0, std::ceil(left - 0.5)), lastCol = std::min(m_side - 1.0, std::floor(right - 0.5));
        if (!(firstCol <= lastCol))
            continue;
        float* row = m_keys.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(m_side);
        // The key at column c is rowKey + c * kx: one multiply-add a pixel, which the compiler
        // takes several pixels at a time.
        const double rowKey = k[0] + (cy - y[0]) * ky + (0.5 - x[0]) * kx;
        const int c0 = static_cast<int>(firstCol), c1 = static_cast<int>(lastCol);
        for (int c = c0; c <= c1; ++c) {
            const float key = static_cast<float>(rowKey + static_cast<double>(c) * kx);
            row[c] = row[c] > key ? row[c] : key;
        }
    }
}
