// The drawing order of a frame; the copy to the window belongs to the window.
#include "render/frame.h"

#include "render/styled_frame.h"
#include "render/wireframe_projection.h"
#include "surfaces/registry.h"

namespace {

template <class C>
void DrawFrameOn(const Camera& camera, const Wireframe& wire, C& canvas)
{
    thread_local ProjectedPoints projected;   // reused: a frame allocates nothing once warm
    canvas.SelectPen(kBorderWhite);
    canvas.Rectangle(0, 0, kCanvasSide, kCanvasSide, kBackgroundBlack);
    canvas.SelectPen(kSurfaceBlue);
    ProjectWireframe(camera, wire, projected);
    ReplayWireframe(wire, projected, canvas);
}

}   // namespace

Camera BeginFrame(ViewState& view, const Wireframe& wire)
{
    UpdateCameraBasis(view);   // every frame, before any point is projected
    const Camera camera = CameraOf(view);
    if (wire.Size() > 0)   // the zoomed hit that the last projection leaves behind
        ProjectWithCamera(camera, wire.Point(wire.Size() - 1), view.planeHit);
    if (wire.lastSample >= 0)   // what the tracer leaves in the scratch point
        view.scratch = wire.Point(static_cast<size_t>(wire.lastSample));
    return camera;
}

void DrawFrame(const Camera& camera, const Wireframe& wire, Canvas& canvas)
{
    DrawFrameOn(camera, wire, canvas);
}

void DrawFrame(const Camera& camera, const Wireframe& wire, RasterCanvas& picture)
{
    picture.ClearHiddenRows();
    DrawFrameOn(camera, wire, picture);
}

void DrawFrame(const Camera& camera, const Wireframe& wire, IndexedCanvas& picture)
{
    picture.ClearHiddenRows();
    DrawFrameOn(camera, wire, picture);
}

void DrawFrame(const Camera& camera, const Wireframe& wire, const FrameStyle& style, Canvas& canvas)
{
    if (style.IsPlain())
        DrawFrame(camera, wire, canvas);
    else
        DrawStyledFrame(camera, wire, style, canvas);
}

void DrawFrame(const Camera& camera, const Wireframe& wire, const FrameStyle& style, RasterCanvas& picture)
{
    if (style.IsPlain())
        DrawFrame(camera, wire, picture);
    else
        DrawStyledFrame(camera, wire, style, picture);
}

void DrawFrame(const Camera& camera, const Wireframe& wire, const FrameStyle& style, IndexedCanvas& picture)
{
    if (style.IsPlain())
        DrawFrame(camera, wire, picture);
    else
        DrawStyledFrame(camera, wire, style, picture);
}

void DrawFrame(const Camera& camera, const Wireframe& wire, const FrameStyle& style, SvgCanvas& svg)
{
    if (style.IsPlain())
        DrawFrame(camera, wire, static_cast<Canvas&>(svg));
    else
        DrawStyledFrame(camera, wire, style, svg);
}

void RenderNextFrame(ViewState& view, Canvas& canvas)
{
    const Wireframe& wire = Surfaces().WireframeOf(view.surface);
    DrawFrame(BeginFrame(view, wire), wire, canvas);
}

void RenderNextFrame(ViewState& view, RasterCanvas& picture)
{
    const Wireframe& wire = Surfaces().WireframeOf(view.surface);
    DrawFrame(BeginFrame(view, wire), wire, picture);
}

void RenderNextFrame(ViewState& view, IndexedCanvas& picture)
{
    const Wireframe& wire = Surfaces().WireframeOf(view.surface);
    DrawFrame(BeginFrame(view, wire), wire, picture);
}
