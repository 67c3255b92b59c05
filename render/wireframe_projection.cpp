// Projecting a wireframe per frame: every point to a pixel, with the tracer's arithmetic.
#include "render/wireframe_projection.h"

#include <algorithm>

#include "render/pixel_mapping.h"

// ProjectWithCamera over the coordinate arrays, written out operation by operation in the same
// order, so that the compiler can work on two points at once: each lane does exactly the double
// operations of the scalar code. The tests hold the two to the same bits.
void ProjectWireframe(const Camera& camera, const Wireframe& wire, ProjectedPoints& out)
{
    const size_t n = wire.Size();
    out.cols.resize(n);
    out.rows.resize(n);
    out.finite.resize(n);
    const Camera& b = camera;
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
        PixelsFromView(viewCols, viewRows, count, out.cols.data() + first, out.rows.data() + first,
                       out.finite.data() + first);
    }
}
