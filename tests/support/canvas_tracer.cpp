// The direct tracer: project, map to a pixel, move or line.
#include "tests/support/canvas_tracer.h"

#include "render/pixel_mapping.h"
#include "surfaces/tracers.h"

void CanvasTracer::Sample(Vec3 p, bool startsLine)
{
    m_view.scratch = p;
    if (startsLine)
        m_moveFirst = true;
    const Point pixel = Project(p);
    if (!pixel) {
        m_moveFirst = true;
        return;
    }
    if (m_moveFirst) {
        m_canvas.MoveTo(*pixel);
        m_moveFirst = false;
    }
    m_canvas.LineTo(*pixel);   // also on the first sample: a zero-length line onto the move
}

CanvasTracer::Point CanvasTracer::Project(Vec3 p)
{
    return PixelFromView(ProjectPoint(m_view, p));
}

void CanvasTracer::Segment(Point from, Point to)
{
    if (!from || !to)
        return;
    m_canvas.MoveTo(*from);
    m_canvas.LineTo(*to);
}

void TraceSurface(ViewState& view, Canvas& canvas)
{
    CanvasTracer tracer(view, canvas);
    TraceSurfaceInto(view.surface, tracer);
}
