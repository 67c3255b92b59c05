// The drawing order of a frame; the copy to the window belongs to the window.
#include "render/frame.h"

#include "render/raster_canvas.h"
#include "surfaces/wireframe.h"

namespace {

template <class C>
void DrawFrameOn(ViewState& view, C& canvas)
{
    thread_local ProjectedPoints projected;   // reused: a frame allocates nothing once warm
    canvas.SelectPen(kBorderWhite);
    canvas.Rectangle(0, 0, kCanvasSide, kCanvasSide, kBackgroundBlack);
    UpdateCameraBasis(view);   // every frame, before any point is projected
    canvas.SelectPen(kSurfaceBlue);
    const Wireframe& wire = SurfaceWireframe(view.surface);
    ProjectWireframe(view, wire, projected);
    ReplayWireframe(wire, projected, canvas);
}

}   // namespace

void DrawFrame(ViewState& view, Canvas& canvas)
{
    DrawFrameOn(view, canvas);
}

void DrawFrame(ViewState& view, RasterCanvas& picture)
{
    picture.ClearHiddenRows();
    DrawFrameOn(view, picture);
}

void DrawFrame(ViewState& view, IndexedCanvas& picture)
{
    picture.ClearHiddenRows();
    DrawFrameOn(view, picture);
}
