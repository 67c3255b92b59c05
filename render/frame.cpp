// The drawing order of a frame; the copy to the window belongs to the window.
#include "render/frame.h"

#include "render/styled_frame.h"
#include "render/theme.h"
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
    if (PipelineFor(style, false, false) == FramePipeline::Plain)
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

FramePipeline PipelineFor(const FrameStyle& style, bool raster, bool asFigure)
{
    if (raster && IsRecolouredFrame(style))
        return FramePipeline::Recoloured;
    if (asFigure || style.IsFigure())
        return FramePipeline::Figure;
    return style.IsPlain() ? FramePipeline::Plain : FramePipeline::Styled;
}

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

void DrawRecolouredFrame(const Camera& camera, const Wireframe& wire, const FrameStyle& style, RasterCanvas& picture)
{
    DrawFrame(camera, wire, FrameOnly(style), picture);
    std::uint32_t* bits = picture.Bits();
    std::uint32_t from = 0, to = 0;   // the last colour changed: lines come in runs of one colour
    bool known = false;
    for (size_t i = 0; i < static_cast<size_t>(kCanvasSide) * kCanvasSide; ++i) {
        if (!known || bits[i] != from) {
            from = bits[i];
            to = PackPixel(ThemedColour({std::uint8_t(from >> 16), std::uint8_t(from >> 8), std::uint8_t(from)}, style));
            known = true;
        }
        bits[i] = to;
    }
}

void DrawRecolouredFrame(const Camera& camera, const Wireframe& wire, const FrameStyle& style, IndexedCanvas& picture,
                         std::vector<Rgb>& framePalette)
{
    if (!framePalette.empty())
        picture.SetPalette(framePalette);
    DrawFrame(camera, wire, FrameOnly(style), picture);
    framePalette = picture.Palette();
    std::vector<Rgb> themed = framePalette;
    for (Rgb& c : themed)
        c = ThemedColour(c, style);
    picture.SetPalette(std::move(themed));
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
