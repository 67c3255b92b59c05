// Drawing a surface straight onto a canvas, every sample projected and mapped as it is made: the
// reference the prepared frame is held to, bit for bit, in the tests and the benchmarks.
#pragma once

#include <optional>

#include "geometry/view_state.h"
#include "render/canvas.h"
#include "surfaces/registry.h"

// The tracing sink that projects world points with the view and draws them. A point whose view
// coordinates are not finite is never drawn: it breaks its line, and the next finite sample
// starts with a move. A segment with such an end is left out.
class CanvasTracer {
public:
    using Point = std::optional<Pixel>;

    CanvasTracer(ViewState& view, Canvas& canvas) : m_view(view), m_canvas(canvas) {}

    void  Sample(Vec3 p, bool startsLine);
    Point Project(Vec3 p);
    void  Segment(Point from, Point to);

private:
    ViewState& m_view;
    Canvas&    m_canvas;
    bool       m_moveFirst = true;
};

// Traces view.surface onto the canvas with the current camera basis; 0 and unknown kinds draw nothing.
void TraceSurface(ViewState& view, Canvas& canvas);
