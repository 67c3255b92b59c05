// Curves F(p, q) = 0 on a rectangle: traced over a grid of cells, every crossing refined onto the
// curve, the pieces joined into continuous polylines.
#pragma once

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

struct ContourPoint {
    double p, q;
};

// One connected piece of the curve, in order; a closed piece ends on its first point again.
using ContourPiece = std::vector<ContourPoint>;

// The rectangle [p0, p1] × [q0, q1] cut into cells × cells equal cells.
struct ContourGrid {
    double p0 = 0.0, p1 = 1.0, q0 = 0.0, q1 = 1.0;
    int    cells = 1;
};

// The root of g on [0, 1], where g(0) = g0 and g(1) = g1 lie on opposite sides (g > 0 against the
// rest), found by steps Illinois steps that never leave the bracket; a NaN inside stops early.
// A template: it runs at every point of every section and facet, where a std::function's call
// and its allocation cost as much as the formula.
template <typename G>
double RefineCrossing(const G& g, double g0, double g1, int steps = 10)
{
    constexpr double kSettled = 1e-14;   // of the smaller end's value
    const auto positive = [](double value) { return value > 0.0; };
    if (g0 == 0.0)
        return 0.0;
    if (g1 == 0.0)
        return 1.0;
    double lo = 0.0, hi = 1.0, flo = g0, fhi = g1, best = 0.5;
    const double scale = std::min(std::abs(g0), std::abs(g1));
    int side = 0;   // which end was kept last: Illinois halves the other's value when it repeats
    for (int step = 0; step < steps; ++step) {
        double t = (lo * fhi - hi * flo) / (fhi - flo);
        if (!(t > lo && t < hi))   // infinities, NaN or a flat bracket: bisect
            t = lo / 2 + hi / 2;
        const double ft = g(t);
        if (std::isnan(ft))
            break;
        best = t;
        if (std::abs(ft) <= kSettled * scale)   // as near zero as the values allow: more steps gain nothing
            break;
        if (positive(ft) == positive(flo)) {
            lo = t;
            flo = ft;
            if (side == -1)
                fhi /= 2;
            side = -1;
        } else {
            hi = t;
            fhi = ft;
            if (side == 1)
                flo /= 2;
            side = 1;
        }
    }
    return best;
}

// The pieces of F = 0 over grid, in a fixed order. A node's side is F > 0 or not; a cell with a
// NaN corner is left out, so a curve that leaves where F is defined ends there. A cell with four
// crossings is resolved by F at its centre. Each point lies on its cell's edge: no spike.
std::vector<ContourPiece> TraceContour(const std::function<double(double, double)>& f, const ContourGrid& grid);

// The same over node values already known (row by row, q slowest: (cells + 1)² of them), F
// evaluated only to refine crossings and at the centres of ambiguous cells.
std::vector<ContourPiece> TraceContour(const std::function<double(double, double)>& f, const ContourGrid& grid,
                                       const std::vector<double>& nodes);

// The grid's k-th coordinate of n cells from a to b: the last exactly b.
inline double GridValue(double a, double b, int k, int n) { return k == n ? b : a + k * (b - a) / n; }
