// One frame of the viewer in two steps: the camera step, which updates the view record and yields
// the frame's camera, and the drawing, which reads that camera and changes nothing else.
#pragma once

#include <vector>

#include "geometry/view_state.h"
#include "render/canvas.h"
#include "render/frame_style.h"
#include "render/raster_canvas.h"
#include "render/svg_canvas.h"
#include "surfaces/wireframe.h"

// The ways one frame is drawn: the plain frame; the styled frame (eyes, depth, widths) in the
// 500-pixel square; either of them in a theme's colours; the figure, at any size and in doubles.
enum class FramePipeline { Plain, Styled, Recoloured, Figure };

// The one choice of the way a frame in style takes, for every front end and format: raster when
// it goes into a picture (PNG, GIF, the window's or the page's square), asFigure when the format
// or the caller asks for the figure whatever the style (PDF, EPS, TikZ; the window's square of a
// figure's style).
FramePipeline PipelineFor(const FrameStyle& style, bool raster, bool asFigure);

// The camera step of a frame: UpdateCameraBasis (up carried over from the last frame), then what
// tracing wire leaves in the record (the last zoomed plane hit and the last sample), bit for bit.
Camera BeginFrame(ViewState& view, const Wireframe& wire);

// White-outlined black square over (0, 0)-(500, 500), then wire in blue as camera sees it: the
// same calls as tracing the surface afresh.
void DrawFrame(const Camera& camera, const Wireframe& wire, Canvas& canvas);

// The same frame onto a picture, with the picture's own drawing called directly. The two hidden
// rows are cleared first, so the whole picture is new, as a fresh bitmap would be.
void DrawFrame(const Camera& camera, const Wireframe& wire, RasterCanvas& picture);
void DrawFrame(const Camera& camera, const Wireframe& wire, IndexedCanvas& picture);

// The frame drawn with a style; the plain style draws exactly what the calls above draw.
void DrawFrame(const Camera& camera, const Wireframe& wire, const FrameStyle& style, Canvas& canvas);
void DrawFrame(const Camera& camera, const Wireframe& wire, const FrameStyle& style, RasterCanvas& picture);
void DrawFrame(const Camera& camera, const Wireframe& wire, const FrameStyle& style, IndexedCanvas& picture);
void DrawFrame(const Camera& camera, const Wireframe& wire, const FrameStyle& style, SvgCanvas& svg);

// The recoloured frame (FramePipeline::Recoloured): the frame's own drawing in FrameOnly(style),
// then each of its colours as ThemedColour gives it in style, as fast as the frame. A picture of
// palette indices is given back framePalette, the frame's palette it kept from the last drawing,
// and keeps it again, so that its indices stay the frame's.
void DrawRecolouredFrame(const Camera& camera, const Wireframe& wire, const FrameStyle& style, RasterCanvas& picture);
void DrawRecolouredFrame(const Camera& camera, const Wireframe& wire, const FrameStyle& style, IndexedCanvas& picture,
                         std::vector<Rgb>& framePalette);

// Both steps for view.surface among the eight built-in surfaces, as the window makes one frame.
void RenderNextFrame(ViewState& view, Canvas& canvas);
void RenderNextFrame(ViewState& view, RasterCanvas& picture);
void RenderNextFrame(ViewState& view, IndexedCanvas& picture);
