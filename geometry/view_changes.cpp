// View changes of the window's controls: reset, drag orbit, eye distance and zoom.
#include "geometry/view_changes.h"

#include <cmath>
#include <cstdint>

void ResetViewState(ViewState& view)
{
    const double s = std::sqrt(kEyeComponentSquare);   // one root, stored in all three components
    view.eye = {s, s, s};
    view.up = {0.0, 0.0, 1.0};
    view.target = {0.0, 0.0, 0.0};
    view.zoom = kZoomAtReset;
}

void OrbitEye(ViewState& view, IntPoint anchor, IntPoint current)
{
    // Differences taken in 64 bits so that no pair of screen coordinates can overflow.
    const double dy = static_cast<double>(std::int64_t{current.y} - anchor.y);
    const double dx = static_cast<double>(std::int64_t{anchor.x} - current.x);
    const Vec3 m = VecAdd(VecScale(dx, view.right), VecScale(dy, view.up));
    const double angle = (PiValue() * VecLength(m)) * 0.002;
    if (m.x == 0.0 && m.y == 0.0 && m.z == 0.0)
        return;
    const double distance = VecLength(view.eye);
    const Vec3 turned = VecAdd(VecScale(std::cos(angle), VecNormalize(view.eye)),
                               VecScale(std::sin(angle), VecNormalize(m)));
    view.eye = VecScale(distance, VecNormalize(turned));
}

double EyeDistance(const ViewState& view)
{
    return VecLength(view.eye);
}

void SetEyeDistance(ViewState& view, double d)
{
    view.eye = VecScale(d, VecNormalize(view.eye));
}

void SetZoom(ViewState& view, double zoom)
{
    view.zoom = zoom;
}

Vec3 TurnAbout(Vec3 p, Vec3 centre, Vec3 axis, double angle)
{
    // Rodrigues' rotation of the offset from the centre: the part along the axis stays, the rest
    // turns in the plane across it.
    const Vec3 k = VecNormalize(axis);
    const Vec3 v = VecSub(p, centre);
    const double c = std::cos(angle), s = std::sin(angle);
    const Vec3 turned = VecAdd(VecAdd(VecScale(c, v), VecScale(s, VecCross(k, v))),
                               VecScale(VecDot(k, v) * (1.0 - c), k));
    return VecAdd(centre, turned);
}

void TurnEye(ViewState& view, Vec3 axis, double angle)
{
    if (angle != 0.0)   // (eye - target) + target need not give back the eye to the bit
        view.eye = TurnAbout(view.eye, view.target, axis, angle);
}
