// A frame drawn with a style that is not the plain one: the eyes, their projections, hidden lines,
// the depth cue and the width of the lines, turned into coloured strokes for a canvas.
#pragma once

#include "geometry/view_state.h"
#include "render/canvas.h"
#include "render/frame_style.h"
#include "render/raster_canvas.h"
#include "render/svg_canvas.h"
#include "surfaces/wireframe.h"

// The camera of one eye of a stereo pair: moved along camera's right vector by side times half
// the separation (side -1 left, +1 right), still looking at the same target.
Camera StereoEyeCamera(const Camera& camera, double side);

// White-outlined black square, then wire in the style's colours as camera sees it. On a picture
// the two stereo colours add up (white where they cross); other canvases get them in turn.
void DrawStyledFrame(const Camera& camera, const Wireframe& wire, const FrameStyle& style, Canvas& canvas);
void DrawStyledFrame(const Camera& camera, const Wireframe& wire, const FrameStyle& style, RasterCanvas& picture);
void DrawStyledFrame(const Camera& camera, const Wireframe& wire, const FrameStyle& style, IndexedCanvas& picture);
// As on a picture: the stereo colours lighten what lies under them.
void DrawStyledFrame(const Camera& camera, const Wireframe& wire, const FrameStyle& style, SvgCanvas& svg);
