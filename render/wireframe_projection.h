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

// Calls visit(from, to, moves) for each line drawn by replaying the wireframe, with the tracer's
// rules for points that are not finite: a line starts with a move to its first finite sample and a
// line-to the same sample (a dot), and a sample that is not finite breaks the line. moves tells
// whether a move to from comes first; when it does not, from is the previous sample.
template <class Visit>
void ForEachReplayedLine(const Wireframe& wire, const int* finite, Visit visit)
{
    bool moveFirst = true;
    std::uint32_t previous = 0;
    for (const WireOp op : wire.ops) {
        if (op.to >= WireOp::kLineNext) {
            if (op.to == WireOp::kLineStart)
                moveFirst = true;
            if (!finite[op.from]) {
                moveFirst = true;
                continue;
            }
            visit(moveFirst ? op.from : previous, op.from, moveFirst);
            moveFirst = false;
            previous = op.from;
        } else if (finite[op.from] && finite[op.to]) {
            visit(op.from, op.to, true);
        }
    }
}

// Replays the wireframe's moves and lines onto the canvas, with the tracer's rules for points
// that are not finite.
template <class C>
void ReplayWireframe(const Wireframe& wire, const ProjectedPoints& projected, C& canvas)
{
    const int* cols = projected.cols.data();
    const int* rows = projected.rows.data();
    auto pixel = [&](std::uint32_t i) { return Pixel{cols[i], rows[i]}; };
    if constexpr (requires { canvas.Line(Pixel{}, Pixel{}); }) {
        // A picture draws each line between its ends, with the position in a local rather than
        // stored and read back between lines; the picture's is set once, where the last line-to
        // leaves it. The arrays are taken by value, and the lines inlined into the walk over
        // them, so that all of it stays in registers.
        Pixel at;
        bool drawn = false;
        ForEachReplayedLine(wire, projected.finite.data(),
                            [&canvas, &at, &drawn, cols, rows](std::uint32_t from, std::uint32_t to, bool moves)
                                __attribute__((always_inline)) {
                                    if (moves)
                                        at = Pixel{cols[from], rows[from]};
                                    const Pixel next{cols[to], rows[to]};
                                    canvas.Line(at, next);
                                    at = next;
                                    drawn = true;
                                });
        if (drawn)
            canvas.MoveTo(at);
    } else {
        ForEachReplayedLine(wire, projected.finite.data(), [&](std::uint32_t from, std::uint32_t to, bool moves) {
            if (moves)
                canvas.MoveTo(pixel(from));
            canvas.LineTo(pixel(to));
        });
    }
}
