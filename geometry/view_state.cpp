// The camera basis, recomputed from the eye at the start of every frame.
#include "geometry/view_state.h"

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
