// A turn's frames, each one camera step from the first frame's record.
#include "render/turntable.h"

#include "geometry/view_changes.h"
#include "render/frame.h"

Camera TurnFrameCamera(const ViewState& first, const Wireframe& wire, int k, int n, TurnAxis axis)
{
    if (k % n == 0)
        return CameraOf(first);
    ViewState view = first;
    const double angle = (2.0 * PiValue() * (k % n)) / n;
    TurnView(view, axis, angle);
    return BeginFrame(view, wire);
}

void TurnView(ViewState& view, TurnAxis axis, double angle)
{
    if (axis == TurnAxis::Screen) {
        TurnEye(view, view.up, angle);
    } else {
        constexpr Vec3 kZ{0.0, 0.0, 1.0};
        TurnEye(view, kZ, angle);
        view.up = TurnAbout(view.up, {0.0, 0.0, 0.0}, kZ, angle);   // the picture's vertical turns along
    }
}
