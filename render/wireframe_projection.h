// A prepared wireframe on a frame: its points projected with the frame's camera, and its moves and
// lines replayed onto a canvas with the tracer's rules.
#pragma once

#include <cstdint>
#include <vector>

#include "geometry/view_state.h"
#include "render/canvas.h"
#include "surfaces/wireframe.h"

// Projected points of a frame, kept between frames so that drawing allocates nothing.
struct ProjectedPoints {
    std::vector<int> cols, rows;
    std::vector<int> finite;   // 0 where the view coordinates were not finite
};

// Projects every point of the wireframe with the camera, bit for bit as the tracer would.
void ProjectWireframe(const Camera& camera, const Wireframe& wire, ProjectedPoints& out);

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
