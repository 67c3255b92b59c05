// Building the wireframes from the tracers, and projecting them per frame.
#include "surfaces/wireframe.h"

#include <algorithm>
#include <array>
#include <mutex>

#include <climits>
#include <cmath>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "surfaces/pixel_mapping.h"
#include "surfaces/tracers.h"

namespace {

// The tracing sink that records instead of drawing.
struct WireframeBuilder {
    using Point = std::uint32_t;
    Wireframe wire;

    Point Add(Vec3 p)
    {
        wire.xs.push_back(p.x);
        wire.ys.push_back(p.y);
        wire.zs.push_back(p.z);
        return static_cast<Point>(wire.xs.size() - 1);
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

// ProjectWithBasis over the coordinate arrays, written out operation by operation in the same
// order, so that the compiler can work on two points at once: each lane does exactly the double
// operations of the scalar code. The tests hold the two to the same bits.
void ProjectWireframe(ViewState& view, const Wireframe& wire, ProjectedPoints& out)
{
    const size_t n = wire.Size();
    out.cols.resize(n);
    out.rows.resize(n);
    out.finite.resize(n);
    const ProjectionBasis b = BasisOf(view);
    const double ex = b.eye.x, ey = b.eye.y, ez = b.eye.z;
    const double qx = b.planePoint.x, qy = b.planePoint.y, qz = b.planePoint.z;
    const double nx = b.normal.x, ny = b.normal.y, nz = b.normal.z;
    const double rx = b.right.x, ry = b.right.y, rz = b.right.z;
    const double ux = b.up.x, uy = b.up.y, uz = b.up.z;
    const double zoom = b.zoom;
    constexpr size_t kBlock = 256;   // view coordinates of a block, kept on the stack
    double viewCols[kBlock], viewRows[kBlock];
    for (size_t first = 0; first < n; first += kBlock) {
        const size_t count = std::min(kBlock, n - first);
        const double* __restrict xs = wire.xs.data() + first;
        const double* __restrict ys = wire.ys.data() + first;
        const double* __restrict zs = wire.zs.data() + first;
        for (size_t i = 0; i < count; ++i) {
            const double px = xs[i], py = ys[i], pz = zs[i];
            const double dx = ex - px, dy = ey - py, dz = ez - pz;   // VecSub(eye, p): toward the eye
            const double cx = qx - px, cy = qy - py, cz = qz - pz;   // VecSub(planePoint, p)
            const double t = ((nz * cz + ny * cy) + nx * cx) / ((nz * dz + ny * dy) + nx * dx);
            const double hx = (dx * t + px) * zoom, hy = (dy * t + py) * zoom, hz = (dz * t + pz) * zoom;
            const double vx = hx - qx, vy = hy - qy, vz = hz - qz;
            viewCols[i] = ((vz * rz + vy * ry) + vx * rx) + kHalfSide;
            viewRows[i] = kHalfSide - ((vz * uz + vy * uy) + vx * ux);
        }
        for (size_t i = 0; i < count; ++i) {   // PixelFromView, from the sums already made
            const double col = viewCols[i], row = viewRows[i];
            const size_t at = first + i;
#if defined(__SSE2__)
            // The processor's truncation is exact for every value that fits, and answers INT_MIN
            // for everything else (NaN, infinities, overflow): only then is the careful path needed.
            const int fastCol = _mm_cvttsd_si32(_mm_set_sd(col)), fastRow = _mm_cvttsd_si32(_mm_set_sd(row));
            if (fastCol != INT_MIN && fastRow != INT_MIN) {
                out.finite[at] = 1;
                out.cols[at] = fastCol;
                out.rows[at] = fastRow;
                continue;
            }
#endif
            const bool ok = std::isfinite(row) && std::isfinite(col);
            out.finite[at] = ok;
            out.cols[at] = ok ? TruncateToPixel(col) : 0;
            out.rows[at] = ok ? TruncateToPixel(row) : 0;
        }
    }
    if (n > 0)   // the zoomed hit that the last projection leaves behind
        ProjectWithBasis(b, wire.Point(n - 1), view.planeHit);
    if (wire.lastSample >= 0)   // what the tracer leaves in the scratch point
        view.scratch = wire.Point(static_cast<size_t>(wire.lastSample));
}
