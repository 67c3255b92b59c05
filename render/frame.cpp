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

// The plain frame's own way when the style is plain, bit for bit; the styled frame's otherwise.
template <class C>
void DrawInStyle(const Camera& camera, const Wireframe& wire, const FrameStyle& style, C& canvas)
{
    if (style.IsPlain())
        DrawFrame(camera, wire, canvas);   // an SVG goes the generic canvas's way
    else
        DrawStyledFrame(camera, wire, style, canvas);
}

template <class C>
void RenderNext(ViewState& view, C& canvas)
{
    const Wireframe& wire = BuiltinWireframe(view.surface);
    DrawFrame(BeginFrame(view, wire), wire, canvas);
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
    DrawInStyle(camera, wire, style, canvas);
}

void DrawFrame(const Camera& camera, const Wireframe& wire, const FrameStyle& style, RasterCanvas& picture)
{
    DrawInStyle(camera, wire, style, picture);
}

void DrawFrame(const Camera& camera, const Wireframe& wire, const FrameStyle& style, IndexedCanvas& picture)
{
    DrawInStyle(camera, wire, style, picture);
}

void DrawFrame(const Camera& camera, const Wireframe& wire, const FrameStyle& style, SvgCanvas& svg)
{
    DrawInStyle(camera, wire, style, svg);
}

void RenderNextFrame(ViewState& view, Canvas& canvas)
{
    RenderNext(view, canvas);
}

void RenderNextFrame(ViewState& view, RasterCanvas& picture)
{
    RenderNext(view, picture);
}

void RenderNextFrame(ViewState& view, IndexedCanvas& picture)
{
    RenderNext(view, picture);
}
