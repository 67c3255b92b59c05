// The figure's strokes, shared by its surface and its axes: the projection at the picture's size,
// pieces joined into paths, and a segment's seen and hidden parts tested against the depth.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

#include "render/figure.h"
#include "render/depth_buffer.h"
#include "render/line_walk.h"
#include "render/seen_runs.h"

struct EyeView {
    std::vector<double> cols, rows;   // in the square, before the title's band
    std::vector<double> depths, keys;
    std::vector<int>    finite;
    double nearest = 0.0, farthest = 0.0;
};

// The frame's projection with every coordinate scaled before it becomes a pixel: at the frame's
// own size the scale is 1 and the pixels are the plain frame's.
void ProjectFigure(const Camera& camera, bool parallel, double scale, const Wireframe& wire, EyeView& out);

// Adds pieces to a layer, joining each to the path it goes on from.
class PathSink {
public:
    PathSink(FigureLayer& layer, double side, double top) : m_layer(layer), m_side(side), m_top(top) {}

    // The part of a -> b inside the square, when it has one.
    void Add(FigurePoint a, FigurePoint b, Rgb colour, bool dashed);

private:
    FigureLayer& m_layer;
    double       m_side, m_top;
};

// Inline, as they were beside the figure's loops: called once a segment, on the figure's hot path.
inline void PathSink::Add(FigurePoint a, FigurePoint b, Rgb colour, bool dashed)
{
    double t0 = 0.0, t1 = 1.0;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy}, q[4] = {a.x, m_side - a.x, a.y, m_side - a.y};
    if (!ClipParameters(p, q, t0, t1))
        return;
    const FigurePoint from = t0 == 0.0 ? a : FigurePoint{a.x + dx * t0, a.y + dy * t0};
    const FigurePoint to = t1 == 1.0 ? b : FigurePoint{a.x + dx * t1, a.y + dy * t1};
    const FigurePoint start{from.x, from.y + m_top}, end{to.x, to.y + m_top};
    std::vector<FigurePath>& paths = m_layer.paths;
    if (!paths.empty() && paths.back().dashed == dashed && paths.back().colour == colour &&
        paths.back().points.back().x == start.x && paths.back().points.back().y == start.y) {
        paths.back().points.push_back(end);
        return;
    }
    paths.push_back({{start, end}, colour, dashed});
}

// The seen and hidden parts of a -> b, tested once a pixel along it: hidden parts dashed or left out.
inline void AddTestedSegment(FigurePoint a, FigurePoint b, double ka, double kb, Rgb colour, bool dashHidden,
                             const DepthBuffer& depth, PathSink& sink)
{
    const double length = std::max(std::fabs(b.x - a.x), std::fabs(b.y - a.y));
    if (!(length < 1e7)) {   // too near the eye's plane to test: drawn whole, as the frame does
        sink.Add(a, b, colour, false);
        return;
    }
    const long long steps = std::max(1LL, static_cast<long long>(std::ceil(length)));
    auto pointAt = [&](double t) {
        return t == 0.0 ? a : t == 1.0 ? b : FigurePoint{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
    };
    auto seenAt = [&](long long i) {
        const double t = static_cast<double>(i) / static_cast<double>(steps);
        const FigurePoint p = pointAt(t);
        return depth.Sees(static_cast<long long>(std::floor(p.x)), static_cast<long long>(std::floor(p.y)),
                          ka + (kb - ka) * t);
    };
    // Cut halfway between the two tests that disagree.
    SeenRuns runs([&](long long first, long long last, bool seen) {
        if (!seen && !dashHidden)
            return;
        const FigurePoint from = first == 0 ? a : pointAt((static_cast<double>(first) - 0.5) / static_cast<double>(steps));
        const FigurePoint to = last == kToTheEnd ? b : pointAt((static_cast<double>(last) + 0.5) / static_cast<double>(steps));
        sink.Add(from, to, colour, !seen);
    });
    for (long long i = 0; i <= steps; ++i)
        runs.Step(i, seenAt(i));
    runs.End();
}

