// Camera basis and perspective projection, recomputed from the eye at every frame.
#include "geometry/view_state.h"

Vec3 IntersectLinePlane(Vec3 linePoint, Vec3 direction, Vec3 planePoint, Vec3 planeNormal)
{
    const double t = VecDot(planeNormal, VecSub(planePoint, linePoint)) / VecDot(planeNormal, direction);
    return VecAdd(linePoint, VecScale(t, direction));
}

void UpdateCameraBasis(ViewState& view)
{
    view.normal = VecSub(view.eye, view.target);
    view.upCrossN = VecCross(view.up, view.normal);
    view.up = VecNormalize(VecCross(view.normal, view.upCrossN));   // the old up, made perpendicular
    view.right = VecNormalize(VecCross(view.up, view.normal));      // from the new up
    const Vec3 nHat = VecNormalize(view.normal);
    // Scaled from the origin, not from the target: the target is the origin after every reset.
    view.planePoint = VecScale(VecLength(VecSub(view.eye, view.target)) - kPlaneOffset, nHat);
}

Vec3 ProjectPoint(ViewState& view, Vec3 p)
{
    const Vec3 hit = IntersectLinePlane(p, VecSub(view.eye, p), view.planePoint, view.normal);
    view.planeHit = hit;
    view.planeHit = VecScale(view.zoom, hit);
    const Vec3 v = VecSub(view.planeHit, view.planePoint);   // zoomed hit minus the unzoomed plane point
    return {VecDot(v, view.right), VecDot(v, view.up), v.z};
}
