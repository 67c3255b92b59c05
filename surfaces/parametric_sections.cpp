// The sections of a parametric surface, traced on its (u, v) grid by the contour tracer.
#include "surfaces/parametric_sections.h"

#include <cmath>
#include <limits>

#include "surfaces/contour.h"

namespace {

double Coordinate(Vec3 p, int axis) { return axis == 0 ? p.x : axis == 1 ? p.y : p.z; }

}   // namespace

bool AddParametricSections(Wireframe& wire, const SurfaceDefinition& def, double u0, double u1, double v0, double v1,
                           const std::function<Vec3(double, double)>& at, bool withFacets, const std::atomic<bool>* cancel)
{
    const int cells = def.samples - 1;
    const size_t row = static_cast<size_t>(def.samples);
    std::vector<Vec3> nodes;   // v slowest, as the tracer reads them
    nodes.reserve(row * row);
    for (int j = 0; j <= cells; ++j)
        for (int i = 0; i <= cells; ++i)
            nodes.push_back(at(GridValue(u0, u1, i, cells), GridValue(v0, v1, j, cells)));
    const ContourGrid grid{u0, u1, v0, v1, cells};
    for (char name : def.sections) {
        const int axis = name - 'x';
        double lo = std::numeric_limits<double>::infinity(), hi = -lo;
        for (Vec3 p : nodes)
            if (std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z)) {
                lo = std::min(lo, Coordinate(p, axis));
                hi = std::max(hi, Coordinate(p, axis));
            }
        if (!(lo < hi))   // flat along this axis, or nothing finite: no plane crosses it
            continue;
        for (int k = 0; k < def.planes; ++k) {
            if (cancel && cancel->load(std::memory_order_relaxed))
                return false;
            const double c = lo + (k + 0.5) * (hi - lo) / def.planes;
            std::vector<double> values(nodes.size());
            for (size_t n = 0; n < nodes.size(); ++n) {   // a point off the surface (NaN anywhere) leaves its cells out
                const Vec3 p = nodes[n];
                values[n] = std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z) ? Coordinate(p, axis) - c
                                                                                          : std::numeric_limits<double>::quiet_NaN();
            }
            const auto F = [&](double u, double v) { return Coordinate(at(u, v), axis) - c; };
            for (const ContourPiece& piece : TraceContour(F, grid, values)) {
                if (piece.size() < 2)
                    continue;
                for (size_t s = 0; s < piece.size(); ++s) {
                    Vec3 p = at(piece[s].p, piece[s].q);
                    if (axis == 0)   // on the plane exactly, whatever the root's last bits
                        p.x = c;
                    else if (axis == 1)
                        p.y = c;
                    else
                        p.z = c;
                    wire.xs.push_back(p.x);
                    wire.ys.push_back(p.y);
                    wire.zs.push_back(p.z);
                    const auto index = static_cast<std::uint32_t>(wire.xs.size() - 1);
                    wire.ops.push_back({index, s == 0 ? WireOp::kLineStart : WireOp::kLineNext});
                    wire.lastSample = index;
                }
            }
        }
    }
    if (!withFacets)
        return true;
    const auto first = static_cast<std::uint32_t>(wire.xs.size());
    for (Vec3 p : nodes) {
        wire.xs.push_back(p.x);
        wire.ys.push_back(p.y);
        wire.zs.push_back(p.z);
    }
    auto finite = [&](std::uint32_t i) { return std::isfinite(wire.xs[i]) && std::isfinite(wire.ys[i]) && std::isfinite(wire.zs[i]); };
    const auto r = static_cast<std::uint32_t>(row);
    for (std::uint32_t j = 0; j + 1 < r; ++j)
        for (std::uint32_t i = 0; i + 1 < r; ++i) {
            const std::uint32_t a = first + j * r + i, b = a + 1, c = a + r, d = c + 1;
            if (finite(a) && finite(b) && finite(c) && finite(d))
                wire.triangles.insert(wire.triangles.end(), {a, b, d, a, d, c});
        }
    return true;
}
