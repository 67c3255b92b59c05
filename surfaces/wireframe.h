// A surface's drawing, made once: its world points and the moves and lines between them.
//
// The world points of a surface never change with the view, so they are generated once by the
// tracer exactly as it defines them; a frame then only projects them and replays the calls. The
// result is the same sequence of canvas calls as tracing afresh, bit for bit.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "geometry/vec3.h"

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
    // The surface's facets, for hiding what lies behind it: three point indices a triangle, from
    // the surface's own parameter grid (a quad is two triangles). Empty: nothing is hidden.
    std::vector<std::uint32_t> triangles;
    // How the points were brought to the square, axis by axis: drawn = (own - fitCentre) * fitScale.
    // The identity for a surface drawn in its own units, as the eight are.
    Vec3 fitCentre{0.0, 0.0, 0.0}, fitScale{1.0, 1.0, 1.0};

    size_t Size() const { return xs.size(); }
    Vec3   Point(size_t i) const { return {xs[i], ys[i], zs[i]}; }
};

// The tracing sink that records instead of drawing: every projected point is kept once.
class WireframeRecorder {
public:
    using Point = std::uint32_t;

    void Sample(Vec3 p, bool startsLine)
    {
        const Point i = Project(p);
        m_wire.ops.push_back({i, startsLine ? WireOp::kLineStart : WireOp::kLineNext});
        m_wire.lastSample = i;
    }
    Point Project(Vec3 p)
    {
        m_wire.xs.push_back(p.x);
        m_wire.ys.push_back(p.y);
        m_wire.zs.push_back(p.z);
        return static_cast<Point>(m_wire.xs.size() - 1);
    }
    void Segment(Point from, Point to) { m_wire.ops.push_back({from, to}); }

    Wireframe Take() { return std::move(m_wire); }

private:
    Wireframe m_wire;
};
