// The changes of the view that the window's controls make, as plain functions on the camera record.
#pragma once

#include "geometry/view_state.h"

constexpr double kZoomMin = 0.0, kZoomMax = 100.0, kZoomAtReset = 50.0;
constexpr double kDistanceMin = 20.0, kDistanceMax = 300.0;
constexpr double kEyeComponentSquare = 30000.0;   // the reset eye is sqrt of this on every axis

// The view of a freshly chosen surface: eye at distance 300 on the diagonal, up +z, target origin,
// zoom 50. The surface and the drag fields are left alone.
void ResetViewState(ViewState& view);

// One drag step: the cursor went from anchor to current (screen pixels, y down). Turns the eye
// about the origin using right and up of the last frame; a zero travel leaves the eye unchanged.
void OrbitEye(ViewState& view, IntPoint anchor, IntPoint current);

// The distance of the eye from the origin, as the "P" bar reads it.
double EyeDistance(const ViewState& view);

// Puts the eye at distance d on its current direction; an eye at the origin becomes NaN.
void SetEyeDistance(ViewState& view, double d);

void SetZoom(ViewState& view, double zoom);   // no clamp: callers hold it to 0..100

// p turned by angle radians about the line through centre along axis, right-handed (counter-
// clockwise seen from the tip of axis); axis need not be a unit vector, a zero axis gives NaNs.
Vec3 TurnAbout(Vec3 p, Vec3 centre, Vec3 axis, double angle);

// The eye turned by angle radians about the line through the target along axis; a zero angle
// leaves it exactly where it is.
void TurnEye(ViewState& view, Vec3 axis, double angle);
