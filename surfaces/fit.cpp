// Bringing a sampled surface to the square: each axis to the same extent, and the uniform fit.
#include "surfaces/typed_surface.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

bool Finite(const Wireframe& wire, std::uint32_t i)
{
    return std::isfinite(wire.xs[i]) && std::isfinite(wire.ys[i]) && std::isfinite(wire.zs[i]);
}

// The distance from the origin, scaled by the largest component so no square overflows. Written
// out rather than std::hypot's three-argument form, whose formula differs between C++ libraries:
// the page's build must find the same farthest point to the bit.
double Length(double x, double y, double z)
{
    x = std::abs(x);
    y = std::abs(y);
    z = std::abs(z);
    const double a = x < y ? (y < z ? z : y) : (x < z ? z : x);
    if (a == 0.0)
        return 0.0;
    return a * std::sqrt((x / a) * (x / a) + (y / a) * (y / a) + (z / a) * (z / a));
}

}   // namespace

void ScaleAxesToSameExtent(Wireframe& wire)
{
    double* centres[] = {&wire.fitCentre.x, &wire.fitCentre.y, &wire.fitCentre.z};
    double* scales[] = {&wire.fitScale.x, &wire.fitScale.y, &wire.fitScale.z};
    int a = 0;
    for (std::vector<double>* axis : {&wire.xs, &wire.ys, &wire.zs}) {
        double& keptCentre = *centres[a];
        double& keptScale = *scales[a++];
        double low = std::numeric_limits<double>::infinity(), high = -low;
        for (double value : *axis)
            if (std::isfinite(value)) {
                low = std::min(low, value);
                high = std::max(high, value);
            }
        if (!(low <= high))
            continue;
        const double centre = low / 2 + high / 2, half = high / 2 - low / 2;
        for (double& value : *axis)
            value = half > 0.0 ? (value - centre) / half : value - centre;
        keptCentre += centre / keptScale;   // kept for the formulas' units, e.g. a section's plane
        keptScale *= half > 0.0 ? 1.0 / half : 1.0;
    }
}

bool FitWireframe(Wireframe& wire, double radius)
{
    constexpr double kInf = std::numeric_limits<double>::infinity();
    Vec3 low{kInf, kInf, kInf}, high{-kInf, -kInf, -kInf};
    bool any = false;
    for (std::uint32_t i = 0; i < wire.Size(); ++i) {
        if (!Finite(wire, i))
            continue;
        any = true;
        low = {std::min(low.x, wire.xs[i]), std::min(low.y, wire.ys[i]), std::min(low.z, wire.zs[i])};
        high = {std::max(high.x, wire.xs[i]), std::max(high.y, wire.ys[i]), std::max(high.z, wire.zs[i])};
    }
    if (!any)
        return false;
    // Halves first, so huge coordinates do not overflow on the way to the centre.
    const Vec3 centre{low.x / 2 + high.x / 2, low.y / 2 + high.y / 2, low.z / 2 + high.z / 2};
    double farthest = 0.0;
    for (std::uint32_t i = 0; i < wire.Size(); ++i)
        if (Finite(wire, i))
            farthest = std::max(farthest, Length(wire.xs[i] - centre.x, wire.ys[i] - centre.y, wire.zs[i] - centre.z));
    const double scale = farthest > 0.0 && std::isfinite(farthest) ? radius / farthest : 1.0;
    for (std::uint32_t i = 0; i < wire.Size(); ++i) {
        wire.xs[i] = (wire.xs[i] - centre.x) * scale;
        wire.ys[i] = (wire.ys[i] - centre.y) * scale;
        wire.zs[i] = (wire.zs[i] - centre.z) * scale;
    }
    wire.fitCentre = {wire.fitCentre.x + centre.x / wire.fitScale.x, wire.fitCentre.y + centre.y / wire.fitScale.y,
                      wire.fitCentre.z + centre.z / wire.fitScale.z};
    wire.fitScale = {wire.fitScale.x * scale, wire.fitScale.y * scale, wire.fitScale.z * scale};
    return true;
}
