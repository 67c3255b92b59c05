// Facets into the depth of the square: edge functions over each triangle's box, sampled at pixel
// centres.
#include "render/depth_buffer.h"

#include <algorithm>
#include <cmath>
#include <limits>

void DepthBuffer::Reset(bool perspective, double tolerance)
{
    m_perspective = perspective;
    m_tolerance = tolerance;
    // Perspective keys are positive; a parallel eye's are any sign.
    const float empty = perspective ? 0.0f : -std::numeric_limits<float>::infinity();
    m_keys.assign(static_cast<size_t>(kCanvasSide) * kCanvasSide, empty);
}

void DepthBuffer::AddTriangle(ScreenPoint a, ScreenPoint b, ScreenPoint c)
{
    const double area = (b.col - a.col) * (c.row - a.row) - (b.row - a.row) * (c.col - a.col);
    if (!(std::fabs(area) > 1e-12))   // also NaN
        return;
    const double side = static_cast<double>(kCanvasSide);
    const double minCol = std::max(0.0, std::floor(std::min({a.col, b.col, c.col}) - 0.5));
    const double maxCol = std::min(side - 1.0, std::ceil(std::max({a.col, b.col, c.col}) - 0.5));
    const double minRow = std::max(0.0, std::floor(std::min({a.row, b.row, c.row}) - 0.5));
    const double maxRow = std::min(side - 1.0, std::ceil(std::max({a.row, b.row, c.row}) - 0.5));
    if (!(minCol <= maxCol && minRow <= maxRow))
        return;
    // Barycentric weights as edge functions divided by the area, so their sign is the same for
    // both windings and a weight is >= 0 inside.
    const double inv = 1.0 / area;
    auto edge = [inv](ScreenPoint p, ScreenPoint q, double x, double y) {
        return ((q.col - p.col) * (y - p.row) - (q.row - p.row) * (x - p.col)) * inv;
    };
    const double stepA = -(c.row - b.row) * inv, stepB = -(a.row - c.row) * inv, stepC = -(b.row - a.row) * inv;
    const int c0 = static_cast<int>(minCol), c1 = static_cast<int>(maxCol);
    const int r0 = static_cast<int>(minRow), r1 = static_cast<int>(maxRow);
    for (int row = r0; row <= r1; ++row) {
        const double y = row + 0.5, x = c0 + 0.5;
        double wa = edge(b, c, x, y), wb = edge(c, a, x, y), wc = edge(a, b, x, y);
        float* keys = m_keys.data() + static_cast<size_t>(row) * kCanvasSide;
        for (int col = c0; col <= c1; ++col) {
            if (wa >= 0.0 && wb >= 0.0 && wc >= 0.0) {
                const float key = static_cast<float>(wa * a.key + wb * b.key + wc * c.key);
                keys[col] = std::max(keys[col], key);
            }
            wa += stepA;
            wb += stepB;
            wc += stepC;
        }
    }
}
