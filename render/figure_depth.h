// The depth of a figure's square at its own size: the nearest facet at every pixel, with the keys
// and tolerance of the frame's depth buffer (larger when nearer, linear across the screen).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class FigureDepth {
public:
    // Empty square of side pixels; perspective chooses the key, tolerance as the frame's.
    void Reset(int side, bool perspective, double tolerance);

    // The triangle's keys into every pixel whose centre it covers, keeping the nearest; a triangle
    // with a coordinate or key that is not finite adds nothing.
    void AddTriangle(const double* cols, const double* rows, const double* keys);

    // Whether a line point of key at pixel (col, row) is seen; outside the square it is.
    bool Sees(long long col, long long row, double key) const
    {
        if (col < 0 || row < 0 || col >= m_side || row >= m_side)
            return true;
        const double nearest = m_keys[static_cast<std::size_t>(row) * static_cast<std::size_t>(m_side) +
                                      static_cast<std::size_t>(col)];
        if (m_perspective)
            return key * (1.0 + m_tolerance * nearest) >= nearest;
        return key >= nearest - m_tolerance;
    }

private:
    std::vector<float> m_keys;
    int                m_side = 0;
    bool               m_perspective = true;
    double             m_tolerance = 0.0;
};
