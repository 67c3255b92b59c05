// A surface's drawing, made once: its world points and the moves and lines between them.
//
// The world points of a surface never change with the view, so they are generated once by the
// tracer exactly as it defines them; a frame then only projects them and replays the calls. The
// result is the same sequence of canvas calls as tracing afresh, bit for bit.
#pragma once

#include <cstdint>
#include <vector>

#include "geometry/view_state.h"
#include "render/canvas.h"
#include "surfaces/surface_kind.h"

struct WireOp {
    static constexpr std::uint32_t kLineStart = 0xFFFFFFFFu;   // sample that starts a line
    static constexpr std::uint32_t kLineNext = 0xFFFFFFFEu;    // later sample of a line
    std::uint32_t from;   // point index
    std::uint32_t to;     // kLineStart, kLineNext, or the far end of a segment
};

struct Wireframe {
    std::vector<double> xs, ys, zs;   // the points in the order the tracer projects them, by coordinate
    std::vector<WireOp> ops;
    std::int64_t        lastSample = -1;   // the point the tracer leaves in view.scratch; -1 none

    size_t Size() const { return xs.size(); }
    Vec3   Point(size_t i) const { return {xs[i], ys[i], zs[i]}; }
};

// The wireframe of kind, built on first use and kept for the life of the process; the empty one
// for 0 and unknown kinds. Safe to call from several threads.
const Wireframe& SurfaceWireframe(SurfaceKind kind);

// Projected points of a frame, kept between frames so that drawing allocates nothing.
struct ProjectedPoints {
    std::vector<int> cols, rows;
    std::vector<int> finite;   // 0 where the view coordinates were not finite
};

// Projects every point of the wireframe with the current camera basis, as the tracer would.
void ProjectWireframe(ViewState& view, const Wireframe& wire, ProjectedPoints& out);

// Replays the wireframe's moves and lines onto the canvas, with the tracer's rules for points
// that are not finite.
template <class C>
void ReplayWireframe(const Wireframe& wire, const ProjectedPoints& projected, C& canvas)
{
    bool moveFirst = true;
    const int* cols = projected.cols.data();
    const int* rows = projected.rows.data();
    const int* finite = projected.finite.data();
    auto pixel = [&](std::uint32_t i) { return Pixel{cols[i], rows[i]}; };
    for (const WireOp op : wire.ops) {
        if (op.to >= WireOp::kLineNext) {
            if (op.to == WireOp::kLineStart)
                moveFirst = true;
            if (!finite[op.from]) {
                moveFirst = true;
                continue;
            }
            if (moveFirst) {
                canvas.MoveTo(pixel(op.from));
                moveFirst = false;
            }
            canvas.LineTo(pixel(op.from));
        } else if (finite[op.from] && finite[op.to]) {
            canvas.MoveTo(pixel(op.from));
            canvas.LineTo(pixel(op.to));
        }
    }
}
