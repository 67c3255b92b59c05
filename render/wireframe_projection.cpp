// Projecting a wireframe per frame: every point to a pixel, with the tracer's arithmetic.
#include "render/wireframe_projection.h"

#include <algorithm>

#include "render/pixel_mapping.h"

// PerspectiveView over the coordinate arrays, so that the compiler can work on two points at
// once: each lane does exactly the double operations of one point. The tests hold the arrays to
// the single point's bits.
void ProjectWireframe(const Camera& camera, const Wireframe& wire, ProjectedPoints& out)
{
    const size_t n = wire.Size();
    out.cols.resize(n);
    out.rows.resize(n);
    out.finite.resize(n);
    const Camera c = camera;   // in registers across the loop
    constexpr size_t kBlock = 256;   // view coordinates of a block, kept on the stack
    double viewCols[kBlock], viewRows[kBlock];
    for (size_t first = 0; first < n; first += kBlock) {
        const size_t count = std::min(kBlock, n - first);
        const double* __restrict xs = wire.xs.data() + first;
        const double* __restrict ys = wire.ys.data() + first;
        const double* __restrict zs = wire.zs.data() + first;
        for (size_t i = 0; i < count; ++i) {
            const ViewPoint v = PerspectiveView(c, xs[i], ys[i], zs[i]);
            viewCols[i] = v.x + kHalfSide;
            viewRows[i] = kHalfSide - v.y;
        }
        PixelsFromView(viewCols, viewRows, count, out.cols.data() + first, out.rows.data() + first,
                       out.finite.data() + first);
    }
}
