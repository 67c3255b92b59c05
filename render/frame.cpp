// The drawing order of a frame; the copy to the window belongs to the window.
#include "render/frame.h"

#include "surfaces/canvas_tracer.h"

void DrawFrame(ViewState& view, Canvas& canvas)
{
    canvas.SelectPen(kBorderWhite);
    canvas.Rectangle(0, 0, kCanvasSide, kCanvasSide, kBackgroundBlack);
    UpdateCameraBasis(view);   // every frame, before any point is projected
    canvas.SelectPen(kSurfaceBlue);
    TraceSurface(view, canvas);
}
