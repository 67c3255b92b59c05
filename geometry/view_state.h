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

// The point a camera looks at: normal is eye - target.
inline Vec3 TargetOf(const Camera& c)
{
    return VecSub(c.eye, c.normal);
}

// A world point seen by a camera: view coordinates (x right, y up, origin at the centre of the
// square; z carries no meaning) and the zoomed screen-plane hit.
struct ViewPoint {
    double x, y, z;
    double hitX, hitY, hitZ;
};

// The perspective projection of world point (px, py, pz): the one expression of it. Every
// projection of a point calls it, one point or a loop over arrays of coordinates, and the same
// operations in the same order give the same bits in every lane. It is IntersectLinePlane of the
// line from p toward the eye with the screen plane, zoomed, then taken along right and up.
inline ViewPoint PerspectiveView(const Camera& c, double px, double py, double pz)
{
    const double dx = c.eye.x - px, dy = c.eye.y - py, dz = c.eye.z - pz;   // toward the eye
    const Vec3 q = c.planePoint, n = c.normal;
    const double t = ((n.z * (q.z - pz) + n.y * (q.y - py)) + n.x * (q.x - px)) / ((n.z * dz + n.y * dy) + n.x * dx);
    const double hx = (dx * t + px) * c.zoom, hy = (dy * t + py) * c.zoom, hz = (dz * t + pz) * c.zoom;
    const double vx = hx - q.x, vy = hy - q.y, vz = hz - q.z;   // zoomed hit minus the unzoomed plane point
    return {(vz * c.right.z + vy * c.right.y) + vx * c.right.x, (vz * c.up.z + vy * c.up.y) + vx * c.up.x, vz, hx, hy, hz};
}

// The parallel projection: the eye at infinity along its direction, target at the centre, scale
// view units a world unit. Only x and y are set.
inline ViewPoint ParallelView(const Camera& c, Vec3 target, double scale, double px, double py, double pz)
{
    const double vx = px - target.x, vy = py - target.y, vz = pz - target.z;
    return {scale * ((vz * c.right.z + vy * c.right.y) + vx * c.right.x),
            scale * ((vz * c.up.z + vy * c.up.y) + vx * c.up.x), 0.0, 0.0, 0.0, 0.0};
}

// The distance of world point (px, py, pz) in front of the eye along unit direction nHat.
inline double DepthAlong(Vec3 eye, Vec3 nHat, double px, double py, double pz)
{
    const double dx = eye.x - px, dy = eye.y - py, dz = eye.z - pz;
    return (dz * nHat.z + dy * nHat.y) + dx * nHat.x;
}

// View coordinates of world point p in x and y; z carries no meaning. The zoomed screen-plane
// hit is handed back in planeHit.
inline Vec3 ProjectWithCamera(const Camera& camera, Vec3 p, Vec3& planeHit)
{
    const ViewPoint v = PerspectiveView(camera, p.x, p.y, p.z);
    planeHit = {v.hitX, v.hitY, v.hitZ};
    return {v.x, v.y, v.z};
}

// ProjectWithCamera with the record's own camera; writes planeHit.
inline Vec3 ProjectPoint(ViewState& view, Vec3 p)
{
    return ProjectWithCamera(CameraOf(view), p, view.planeHit);
}
