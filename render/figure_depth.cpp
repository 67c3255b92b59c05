// Filling a figure's depth, one row span of a triangle at a time.
#include "render/figure_depth.h"

#include <algorithm>
#include <cmath>
#include <limits>

void FigureDepth::Reset(int side, bool perspective, double tolerance)
{
    m_side = side;
    m_perspective = perspective;
    m_tolerance = tolerance;
    // Perspective keys are positive; a parallel eye's are any sign.
    const float empty = perspective ? 0.0f : -std::numeric_limits<float>::infinity();
    m_keys.assign(static_cast<std::size_t>(side) * static_cast<std::size_t>(side), empty);
}

void FigureDepth::AddTriangle(const double* x, const double* y, const double* k)
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
