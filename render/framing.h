// "Encuadrar" and --zoom auto: the zoom at which the drawn surface fills most of the square.
#pragma once

#include "geometry/view_state.h"
#include "surfaces/wireframe.h"

constexpr double kFramedFill = 0.9;         // of the square's side, the surface's span across or down it
constexpr double kFramedEdge = 0.98;        // of the half side: the farthest a framed point lies from the centre
constexpr double kZoomLargest = 1000.0;     // the zoom's grown range: a thin surface can fill the square

// The zoom at which the surface's larger projected span, across or down, is kFramedFill of the
// square's side, or less where a point would then lie beyond kFramedEdge of the half side from the
// centre (a surface off the centre), seen by camera (its zoom ignored), in perspective or parallel. The picture scales about the centre with the zoom, so one projection at zoom 1 is
// enough. Points behind the eye or not finite are left out; with nothing to frame, camera.zoom.
double FramingZoom(const Camera& camera, const Wireframe& wire, bool parallel);
