// The camera record of the viewer and the perspective projection onto its screen plane.
#pragma once

#include "geometry/vec3.h"

struct IntPoint {
    int x = 0, y = 0;
};

constexpr double kPlaneOffset = 20.0;   // the screen plane stands this far in front of the eye

struct ViewState {
    Vec3     scratch;               // last sample point of the tracing loops
    Vec3     planeHit;              // last screen-plane hit, already multiplied by the zoom
    Vec3     planePoint;            // a point of the screen plane, measured from the origin
    Vec3     right;                 // unit right vector of the screen
    Vec3     up;                    // unit up vector of the screen
    Vec3     upCrossN;              // VecCross(up, normal), kept from the last basis update
    Vec3     normal;                // eye - target, not normalised
    Vec3     target;                // the point looked at; the origin after every reset
    Vec3     eye;                   // eye position in world units
    double   zoom = 20.0;           // screen magnification
    int      surface = 0;           // SurfaceKind drawn; 0 = none
};

// The point linePoint + t * direction on the plane through planePoint with normal planeNormal;
// a direction parallel to the plane divides by zero and gives infinities or NaNs.
inline Vec3 IntersectLinePlane(Vec3 linePoint, Vec3 direction, Vec3 planePoint, Vec3 planeNormal)
{
    const double t = VecDot(planeNormal, VecSub(planePoint, linePoint)) / VecDot(planeNormal, direction);
    return VecAdd(linePoint, VecScale(t, direction));
}

// Rewrites normal, upCrossN, up, right and planePoint from eye, target and the previous up.
void UpdateCameraBasis(ViewState& view);

// The camera of one frame: what the projection reads, copied out of the record by the frame's
// camera step, so that drawing can never change the view and a loop over many points keeps it in
// registers.
struct Camera {
    Vec3   eye, planePoint, normal, right, up;
    double zoom;
};

inline Camera CameraOf(const ViewState& view)
{
    return {view.eye, view.planePoint, view.normal, view.right, view.up, view.zoom};
}

// View coordinates (x right, y up, origin at the centre of the square) of world point p in x and y;
// z carries no meaning. The zoomed screen-plane hit is handed back in planeHit.
inline Vec3 ProjectWithCamera(const Camera& camera, Vec3 p, Vec3& planeHit)
{
    const Vec3 hit = IntersectLinePlane(p, VecSub(camera.eye, p), camera.planePoint, camera.normal);
    planeHit = VecScale(camera.zoom, hit);
    const Vec3 v = VecSub(planeHit, camera.planePoint);   // zoomed hit minus the unzoomed plane point
    return {VecDot(v, camera.right), VecDot(v, camera.up), v.z};
}

// ProjectWithCamera with the record's own camera; writes planeHit.
inline Vec3 ProjectPoint(ViewState& view, Vec3 p)
{
    return ProjectWithCamera(CameraOf(view), p, view.planeHit);
}
