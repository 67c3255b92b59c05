// A turn's frames, each one camera step from the first frame's record.
#include "render/turntable.h"

#include "geometry/view_changes.h"
#include "render/frame.h"

Camera TurnFrameCamera(const ViewState& first, const Wireframe& wire, int k, int n)
{
    if (k % n == 0)
        return CameraOf(first);
    ViewState view = first;
    TurnEye(view, first.up, (2.0 * PiValue() * (k % n)) / n);
    return BeginFrame(view, wire);
}
