// The figure's axes through the surface's origin, with their arrows, names and numbered ticks.
#pragma once

#include "render/figure.h"
#include "render/depth_buffer.h"

// The axes through the surface's origin, as far as its farthest point and a little beyond.
// With hidden lines the depth of the surface seen by camera hides or dashes them as it does the
// surface's own lines; without, they are drawn over it.
void AddAxes(const Camera& camera, const Wireframe& wire, const FrameStyle& style, Rgb ink, const DepthBuffer* depth,
             Figure& figure);
