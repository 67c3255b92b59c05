// The zoom that frames a surface, measured from one projection at zoom 1.
#include "render/framing.h"

#include <algorithm>
#include <cmath>

#include "geometry/view_changes.h"
#include "render/frame_style.h"
#include "render/pixel_mapping.h"

double FramingZoom(const Camera& camera, const Wireframe& wire, bool parallel)
{
    Camera unit = camera;
    unit.zoom = 1.0;
    const Vec3 nHat = VecNormalize(camera.normal), target = VecSub(camera.eye, camera.normal);
    const double parallelScale = kPlaneOffset / kFirstEyeDistance;   // the figure's, at zoom 1
    double farthest = 0.0, left = INFINITY, right = -INFINITY, bottom = INFINITY, top = -INFINITY;
    for (size_t i = 0; i < wire.Size(); ++i) {
        const Vec3 p{wire.xs[i], wire.ys[i], wire.zs[i]};
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
            continue;
        double x, y;
        if (parallel) {
            const Vec3 v = VecSub(p, target);
            x = parallelScale * VecDot(v, camera.right);
            y = parallelScale * VecDot(v, camera.up);
        } else {
            if (!(VecDot(VecSub(camera.eye, p), nHat) > 0.0))
                continue;   // behind the eye: never drawn
            Vec3 hit;
            const Vec3 v = ProjectWithCamera(unit, p, hit);
            x = v.x;
            y = v.y;
        }
        if (!std::isfinite(x) || !std::isfinite(y))
            continue;
        farthest = std::max({farthest, std::fabs(x), std::fabs(y)});
        left = std::min(left, x);
        right = std::max(right, x);
        bottom = std::min(bottom, y);
        top = std::max(top, y);
    }
    const double span = std::max(right - left, top - bottom);
    if (!(farthest > 0.0) || !(span > 0.0))
        return camera.zoom;
    // The span fills kFramedFill of the side, unless a surface off the centre would then cross an edge.
    const double zoom = std::min(kFramedFill * 2.0 * kHalfSide / span, kFramedEdge * kHalfSide / farthest);
    return std::clamp(zoom, kZoomMin, kZoomLargest);
}
