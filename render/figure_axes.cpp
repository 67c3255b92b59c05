#include "render/figure_axes.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "render/axis_ticks.h"
#include "render/figure_strokes.h"
#include "render/pixel_mapping.h"

namespace {

constexpr double kAxisReach = 1.2;          // the axes reach this far beyond the farthest point
constexpr double kArrowAngle = 0.45;        // radians either side of an axis, at its arrowhead

// Numbered ticks on one axis at round values of the formulas' units across the surface's own
// extent on it (so any fit numbers it alike); the mark across the axis's picture direction
// (ux, uy), hidden or dashed as the axis, its number beside it always, as the axis's name is.
// None at the axes' crossing.
void AddTicks(const Camera& camera, const Wireframe& wire, const FrameStyle& style, int axis, double ux, double uy,
              double reach, Rgb ink, const DepthBuffer* depth, PathSink& sink, Figure& figure)
{
    const std::vector<double>& coords = axis == 0 ? wire.xs : axis == 1 ? wire.ys : wire.zs;
    const double offset = axis == 0 ? wire.unitOffset.x : axis == 1 ? wire.unitOffset.y : wire.unitOffset.z;
    const double unit = axis == 0 ? wire.unitScale.x : axis == 1 ? wire.unitScale.y : wire.unitScale.z;
    double low = INFINITY, high = -INFINITY;
    for (const double v : coords)
        if (std::isfinite(v)) {
            low = std::min(low, v);
            high = std::max(high, v);
        }
    Wireframe marks;
    std::vector<std::string> labels;
    for (const AxisTick& tick : AxisTicks(low / unit + offset, high / unit + offset)) {
        const double w = (tick.value - offset) * unit;
        if (!(std::fabs(w) > 0.03 * reach) || std::fabs(w) > reach)
            continue;
        marks.xs.push_back(axis == 0 ? w : 0.0);
        marks.ys.push_back(axis == 1 ? w : 0.0);
        marks.zs.push_back(axis == 2 ? w : 0.0);
        labels.push_back(tick.label);
    }
    EyeView eye;
    const double scale = static_cast<double>(figure.side) / kCanvasSide;
    ProjectFigure(camera, style.parallel, scale, marks, eye);
    double px = -uy, py = ux;   // across the axis, toward the bottom or the right
    if (py < 0.0 || (py == 0.0 && px < 0.0)) {
        px = -px;
        py = -py;
    }
    const double mark = 4.0 * scale, height = 11.0 * scale;
    for (size_t i = 0; i < marks.Size(); ++i) {
        if (!eye.finite[i] || std::isnan(eye.keys[i]))
            continue;
        const FigurePoint p{eye.cols[i], eye.rows[i]};
        const FigurePoint a{p.x - px * mark, p.y - py * mark}, b{p.x + px * mark, p.y + py * mark};
        if (depth)
            AddTestedSegment(a, b, eye.keys[i], eye.keys[i], ink, style.dashedHidden, *depth, sink);
        else
            sink.Add(a, b, ink, false);
        size_t glyphs = 0;
        for (const char c : labels[i])
            glyphs += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        const double away = mark + height * (0.9 + 0.32 * static_cast<double>(glyphs) * std::fabs(px));
        const FigurePoint at{p.x + px * away, p.y + py * away + figure.top};
        if (at.x >= 0 && at.x <= figure.side && at.y >= figure.top && at.y <= figure.top + figure.side)
            figure.texts.push_back({at, height, labels[i], ink});
    }
}

// An axis whose name would fall outside the square (a zoomed or framed surface) ends where its
// name still fits, so its arrow and name stay in the picture; one whose name fits is left alone.
void PullTipInside(FigurePoint from, double fromKey, double labelAway, int side, FigurePoint& tip, double& tipKey)
{
    const double dx = tip.x - from.x, dy = tip.y - from.y, length = std::hypot(dx, dy);
    if (!(length > 0.0) || !std::isfinite(length))
        return;
    auto fits = [&](double t, double margin) {
        const double x = from.x + dx * t + dx / length * labelAway, y = from.y + dy * t + dy / length * labelAway;
        return x >= margin && x <= side - margin && y >= margin && y <= side - margin;
    };
    if (fits(1.0, 0.0) || !fits(0.5, labelAway))
        return;
    double inside = 0.5, outside = 1.0;
    for (int i = 0; i < 40; ++i) {
        const double t = 0.5 * (inside + outside);
        (fits(t, labelAway) ? inside : outside) = t;
    }
    tip = {from.x + dx * inside, from.y + dy * inside};
    tipKey = fromKey + (tipKey - fromKey) * inside;
}

}   // namespace

// The axes through the surface's origin, as far as its farthest point and a little beyond.
// With hidden lines the depth of the surface seen by camera hides or dashes them as it does the
// surface's own lines; without, they are drawn over it.
void AddAxes(const Camera& camera, const Wireframe& wire, const FrameStyle& style, Rgb ink, const DepthBuffer* depth,
             Figure& figure)
{
    double reach = 0.0;
    for (size_t i = 0; i < wire.Size(); ++i)
        for (const double v : {wire.xs[i], wire.ys[i], wire.zs[i]})
            reach = std::isfinite(v) ? std::max(reach, std::fabs(v)) : reach;
    if (reach == 0.0)
        return;
    reach *= kAxisReach;
    Wireframe axes;   // each axis as a line of two points, projected as the surface is
    const Vec3 ends[] = {{-reach, 0, 0}, {reach, 0, 0}, {0, -reach, 0}, {0, reach, 0}, {0, 0, -reach}, {0, 0, reach}};
    for (const Vec3& p : ends) {
        axes.xs.push_back(p.x);
        axes.ys.push_back(p.y);
        axes.zs.push_back(p.z);
    }
    EyeView eye;
    const double scale = static_cast<double>(figure.side) / kCanvasSide;
    ProjectFigure(camera, style.parallel, scale, axes, eye);
    FigureLayer layer;
    PathSink sink(layer, figure.side, figure.top);
    const double arrow = 12.0 * scale, label = 14.0 * scale;
    const char* names[] = {"x", "y", "z"};
    for (int axis = 0; axis < 3; ++axis) {
        const int a = 2 * axis, b = a + 1;
        if (!eye.finite[a] || !eye.finite[b] || std::isnan(eye.keys[a]) || std::isnan(eye.keys[b]))
            continue;   // an end behind the eye
        const FigurePoint from{eye.cols[a], eye.rows[a]};
        FigurePoint tip{eye.cols[b], eye.rows[b]};
        double tipKey = eye.keys[b];
        PullTipInside(from, eye.keys[a], 1.5 * label, figure.side, tip, tipKey);
        auto stroke = [&](FigurePoint p, FigurePoint q, double kp, double kq) {
            if (depth)
                AddTestedSegment(p, q, kp, kq, ink, style.dashedHidden, *depth, sink);
            else
                sink.Add(p, q, ink, false);
        };
        stroke(from, tip, eye.keys[a], tipKey);
        const double dx = tip.x - from.x, dy = tip.y - from.y, length = std::hypot(dx, dy);
        if (!(length > arrow))
            continue;   // seen end on: no direction to point
        const double ux = dx / length, uy = dy / length, c = std::cos(kArrowAngle), s = std::sin(kArrowAngle);
        if (style.ticks)
            AddTicks(camera, wire, style, axis, ux, uy, reach, ink, depth, sink, figure);
        const FigurePoint left{tip.x - arrow * (ux * c - uy * s), tip.y - arrow * (uy * c + ux * s)};
        const FigurePoint right{tip.x - arrow * (ux * c + uy * s), tip.y - arrow * (uy * c - ux * s)};
        stroke(left, tip, tipKey, tipKey);
        stroke(tip, right, tipKey, tipKey);
        const FigurePoint at{tip.x + ux * 1.5 * label, tip.y + uy * 1.5 * label + figure.top};
        if (at.x >= 0 && at.x <= figure.side && at.y >= figure.top && at.y <= figure.top + figure.side)
            figure.texts.push_back({at, label, names[axis], ink});
    }
    figure.layers.push_back(std::move(layer));
}
