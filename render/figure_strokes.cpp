#include "render/figure_strokes.h"

#include <algorithm>
#include <cmath>

#include "render/pixel_mapping.h"
#include "render/wireframe_projection.h"

// The frame's projection with every coordinate scaled before it becomes a pixel: at the frame's
// own size the scale is 1 and the pixels are the plain frame's.
void ProjectFigure(const Camera& camera, bool parallel, double scale, const Wireframe& wire, EyeView& out)
{
    const size_t n = wire.Size();
    out.cols.resize(n);
    out.rows.resize(n);
    out.depths.resize(n);
    out.keys.resize(n);
    out.finite.resize(n);
    const Camera c = camera;
    const Vec3 nHat = VecNormalize(c.normal), target = TargetOf(c);
    const double parallelScale = ParallelScale(c);
    double nearest = INFINITY, farthest = -INFINITY;
    for (size_t i = 0; i < n; ++i) {
        const double px = wire.xs[i], py = wire.ys[i], pz = wire.zs[i];
        const ViewPoint v = parallel ? ParallelView(c, target, parallelScale, px, py, pz) : PerspectiveView(c, px, py, pz);
        out.cols[i] = (v.x + kHalfSide) * scale;
        out.rows[i] = (kHalfSide - v.y) * scale;
        out.finite[i] = std::isfinite(out.cols[i]) && std::isfinite(out.rows[i]);
        const double d = DepthAlong(c.eye, nHat, px, py, pz);
        out.depths[i] = d;
        out.keys[i] = parallel ? -d : d > 0.0 ? 1.0 / d : NAN;
        if ((parallel || d > 0.0) && d < INFINITY) {
            nearest = std::min(nearest, d);
            farthest = std::max(farthest, d);
        }
    }
    out.nearest = nearest;
    out.farthest = farthest;
}
