// One frame of the viewer: the framed black square, the camera update and the current surface.
#pragma once

#include "geometry/view_state.h"
#include "render/canvas.h"

// White-outlined black square over (0, 0)-(500, 500), then UpdateCameraBasis, then view.surface
// in blue. The canvas is expected to start blank; the window clears its picture before each frame.
void DrawFrame(ViewState& view, Canvas& canvas);
