// Building the wireframes from the tracers, and projecting them per frame.
#include "surfaces/wireframe.h"

#include <array>
#include <mutex>

#include "surfaces/pixel_mapping.h"
#include "surfaces/tracers.h"

namespace {

// The tracing sink that records instead of drawing.
struct WireframeBuilder {
    using Point = std::uint32_t;
    Wireframe wire;

    Point Add(Vec3 p)
    {
        wire.points.push_back(p);
        return static_cast<Point>(wire.points.size() - 1);
    }
    void Sample(Vec3 p, bool startsLine)
    {
        const Point i = Add(p);
        wire.ops.push_back({i, startsLine ? WireOp::kLineStart : WireOp::kLineNext});
        wire.lastSample = i;
    }
    Point Project(Vec3 p) { return Add(p); }
    void Segment(Point from, Point to) { wire.ops.push_back({from, to}); }
};

Wireframe Build(SurfaceKind kind)
{
    WireframeBuilder builder;
    TraceSurfaceInto(kind, builder);
    return std::move(builder.wire);
}

}   // namespace

const Wireframe& SurfaceWireframe(SurfaceKind kind)
{
    static const Wireframe kEmpty;
    static std::array<Wireframe, kSurfaceCount> wires;
    static std::array<std::once_flag, kSurfaceCount> built;
    if (!IsDrawableSurface(kind))
        return kEmpty;
    const size_t i = static_cast<size_t>(kind - 1);
    std::call_once(built[i], [&] { wires[i] = Build(kind); });
    return wires[i];
}

void ProjectWireframe(ViewState& view, const Wireframe& wire, ProjectedPoints& out)
{
    const size_t n = wire.points.size();
    out.pixels.resize(n);
    out.finite.resize(n);
    for (size_t i = 0; i < n; ++i) {
        const std::optional<Pixel> pixel = PixelFromView(ProjectPoint(view, wire.points[i]));
        out.finite[i] = pixel.has_value();
        out.pixels[i] = pixel.value_or(Pixel{});
    }
    if (wire.lastSample >= 0)   // what the tracer leaves in the scratch point
        view.scratch = wire.points[static_cast<size_t>(wire.lastSample)];
}
