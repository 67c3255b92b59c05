// One frame of the viewer: the framed black square, the camera update and the current surface.
#pragma once

#include "geometry/view_state.h"
#include "render/canvas.h"

#include "render/raster_canvas.h"

// White-outlined black square over (0, 0)-(500, 500), then UpdateCameraBasis, then view.surface
// in blue. The surface comes from its prepared wireframe: the same calls as TraceSurface.
void DrawFrame(ViewState& view, Canvas& canvas);

// The same frame onto the picture, with the picture's own drawing called directly. The two hidden
// rows are cleared first, so the whole picture is new, as a fresh bitmap would be.
void DrawFrame(ViewState& view, RasterCanvas& picture);
void DrawFrame(ViewState& view, IndexedCanvas& picture);
