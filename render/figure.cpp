// Building a figure: project at the picture's size, hide or dash what the facets cover, colour,
// and add the axes and the title.
#include "render/figure.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "render/axis_ticks.h"
#include "render/figure_depth.h"
#include "render/line_walk.h"
#include "render/pixel_mapping.h"
#include "render/styled_frame.h"
#include "render/theme.h"
#include "render/figure_title.h"
#include "render/wireframe_projection.h"

namespace {

constexpr double kAxisReach = 1.2;          // the axes reach this far beyond the farthest point
constexpr double kArrowAngle = 0.45;        // radians either side of an axis, at its arrowhead

struct EyeView {
    std::vector<double> cols, rows;   // in the square, before the title's band
    std::vector<double> depths, keys;
    std::vector<int>    finite;
    double nearest = 0.0, farthest = 0.0;
};

// The frame's projection with every coordinate scaled before it becomes a pixel: at the frame's
// own size the scale is 1 and the pixels are the plain frame's.
void Project(const Camera& camera, bool parallel, double scale, const Wireframe& wire, EyeView& out)
{
    const size_t n = wire.Size();
    out.cols.resize(n);
    out.rows.resize(n);
    out.depths.resize(n);
    out.keys.resize(n);
    out.finite.resize(n);
    const Camera c = camera;
    const Vec3 nHat = VecNormalize(c.normal), target = TargetOf(c);
    const double parallelScale = ParallelScale(c);
    double nearest = INFINITY, farthest = -INFINITY;
    for (size_t i = 0; i < n; ++i) {
        const double px = wire.xs[i], py = wire.ys[i], pz = wire.zs[i];
        const ViewPoint v = parallel ? ParallelView(c, target, parallelScale, px, py, pz) : PerspectiveView(c, px, py, pz);
        out.cols[i] = (v.x + kHalfSide) * scale;
        out.rows[i] = (kHalfSide - v.y) * scale;
        out.finite[i] = std::isfinite(out.cols[i]) && std::isfinite(out.rows[i]);
        const double d = DepthAlong(c.eye, nHat, px, py, pz);
        out.depths[i] = d;
        out.keys[i] = parallel ? -d : d > 0.0 ? 1.0 / d : NAN;
        if ((parallel || d > 0.0) && d < INFINITY) {
            nearest = std::min(nearest, d);
            farthest = std::max(farthest, d);
        }
    }
    out.nearest = nearest;
    out.farthest = farthest;
}

// Adds pieces to a layer, joining each to the path it goes on from.
class PathSink {
public:
    PathSink(FigureLayer& layer, double side, double top) : m_layer(layer), m_side(side), m_top(top) {}

    // The part of a -> b inside the square, when it has one.
    void Add(FigurePoint a, FigurePoint b, Rgb colour, bool dashed)
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

private:
    FigureLayer& m_layer;
    double       m_side, m_top;
};

// The seen and hidden parts of a -> b, tested once a pixel along it: hidden parts dashed or left out.
void AddTestedSegment(FigurePoint a, FigurePoint b, double ka, double kb, Rgb colour, bool dashHidden,
                      const FigureDepth& depth, PathSink& sink)
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
    bool seen = seenAt(0);
    double runStart = 0.0;
    for (long long i = 1; i <= steps; ++i) {
        const bool now = seenAt(i);
        if (now == seen)
            continue;
        const double t = (static_cast<double>(i) - 0.5) / static_cast<double>(steps);   // between the two tests
        if (seen || dashHidden)
            sink.Add(pointAt(runStart), pointAt(t), colour, !seen);
        seen = now;
        runStart = t;
    }
    if (seen || dashHidden)
        sink.Add(pointAt(runStart), b, colour, !seen);
}

// The nearest facet of the projected wire at every pixel of the square.
void FillDepth(const Wireframe& wire, const EyeView& eye, int side, bool parallel, FigureDepth& depth)
{
    depth.Reset(side, !parallel, HiddenTolerance(eye.nearest, eye.farthest));
    for (size_t t = 0; t + 2 < wire.triangles.size(); t += 3) {
        const std::uint32_t* tri = wire.triangles.data() + t;
        const double cols[] = {eye.cols[tri[0]], eye.cols[tri[1]], eye.cols[tri[2]]};
        const double rows[] = {eye.rows[tri[0]], eye.rows[tri[1]], eye.rows[tri[2]]};
        const double keys[] = {eye.keys[tri[0]], eye.keys[tri[1]], eye.keys[tri[2]]};
        depth.AddTriangle(cols, rows, keys);
    }
}

// A section's curves as lines of points, projected as the surface's are.
Wireframe SectionLines(const Wireframe& wire, const SectionPlane& plane)
{
    WireframeRecorder recorder;
    for (const SectionCurve& curve : SectionOf(wire, plane))
        for (size_t i = 0; i < curve.points.size(); ++i)
            recorder.Sample(curve.points[i], i == 0);
    return recorder.Take();
}

// The section's strokes over one eye's surface, tested against that eye's facets: the section lies
// on them, and the frame's tolerance keeps it seen where they are.
void AddSection(const Camera& camera, const Wireframe& lines, const FrameStyle& style, const Figure& figure, Rgb colour,
                const FigureDepth& depth, FigureLayer& layer)
{
    thread_local EyeView eye;
    Project(camera, style.parallel, static_cast<double>(figure.side) / kCanvasSide, lines, eye);
    PathSink sink(layer, figure.side, figure.top);
    for (size_t k = 1; k < lines.ops.size(); ++k) {
        if (lines.ops[k].to != WireOp::kLineNext)
            continue;
        const std::uint32_t from = lines.ops[k - 1].from, to = lines.ops[k].from;
        if (!eye.finite[from] || !eye.finite[to])
            continue;
        const FigurePoint a{eye.cols[from], eye.rows[from]}, b{eye.cols[to], eye.rows[to]};
        if (!style.hiddenLines)
            sink.Add(a, b, colour, false);
        else if (!std::isnan(eye.keys[from]) && !std::isnan(eye.keys[to]))
            AddTestedSegment(a, b, eye.keys[from], eye.keys[to], colour, style.dashedHidden, depth, sink);
    }
}

// One eye's strokes, as the frame replays the wireframe.
void AddEye(const Camera& camera, const Wireframe& wire, const FrameStyle& style, const Figure& figure, Rgb tint,
            EyeView& eye, FigureDepth& depth, FigureLayer& layer)
{
    const double scale = static_cast<double>(figure.side) / kCanvasSide;
    Project(camera, style.parallel, scale, wire, eye);
    const double extent = eye.farthest - eye.nearest;
    if (style.hiddenLines)
        FillDepth(wire, eye, figure.side, style.parallel, depth);
    const double levelsPerDepth = LevelsPerDepth(extent);
    auto colourOf = [&](std::uint32_t a, std::uint32_t b) {
        if (!style.depthCue)
            return tint;
        const int level = DepthLevel(eye.farthest, levelsPerDepth, eye.depths[a], eye.depths[b]);
        return MixColours(figure.background, tint, DepthShade(level));
    };
    PathSink sink(layer, figure.side, figure.top);
    ForEachReplayedLine(wire, eye.finite.data(), [&](std::uint32_t from, std::uint32_t to, bool) {
        const FigurePoint a{eye.cols[from], eye.rows[from]}, b{eye.cols[to], eye.rows[to]};
        if (!style.hiddenLines) {
            sink.Add(a, b, colourOf(from, to), false);
            return;
        }
        if (std::isnan(eye.keys[from]) || std::isnan(eye.keys[to]))
            return;   // reaches behind the eye: nothing of it is seen
        AddTestedSegment(a, b, eye.keys[from], eye.keys[to], colourOf(from, to), style.dashedHidden, depth, sink);
    });
}

// Numbered ticks on one axis at round values of the formulas' units across the surface's own
// extent on it (so any fit numbers it alike); the mark across the axis's picture direction
// (ux, uy), hidden or dashed as the axis, its number beside it always, as the axis's name is.
// None at the axes' crossing.
void AddTicks(const Camera& camera, const Wireframe& wire, const FrameStyle& style, int axis, double ux, double uy,
              double reach, Rgb ink, const FigureDepth* depth, PathSink& sink, Figure& figure)
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
    Project(camera, style.parallel, scale, marks, eye);
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

// The axes through the surface's origin, as far as its farthest point and a little beyond.
// With hidden lines the depth of the surface seen by camera hides or dashes them as it does the
// surface's own lines; without, they are drawn over it.
void AddAxes(const Camera& camera, const Wireframe& wire, const FrameStyle& style, Rgb ink, const FigureDepth* depth,
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
    Project(camera, style.parallel, scale, axes, eye);
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

}   // namespace

double VectorLineWidth(const Figure& f)
{
    if (f.side == kCanvasSide && f.printedWidthCm == kPrintedWidthCm)
        return f.lineWidth;   // the width of today's 500-pixel documents, to the bit
    return f.lineWidth * (kPrintedWidthCm / kCanvasSide) * (f.side / f.printedWidthCm);
}

double VectorDashOn(const Figure& f)
{
    return std::max(f.dashOn, 3.0 * VectorLineWidth(f));
}

double VectorDashOff(const Figure& f)
{
    return std::max(f.dashOff, 2.0 * VectorLineWidth(f));
}

int TitleBand(int side)
{
    return (side + 5) / 10;
}

void BuildFigure(const Camera& camera, const Wireframe& wire, const FrameStyle& style, Figure& out)
{
    const ThemeInfo& theme = InfoOf(style.theme);
    out = Figure{};
    out.side = std::clamp(style.size, kPictureSizeMin, kPictureSizeMax);
    const int band = style.title.empty() ? 0 : TitleBand(out.side);
    out.width = out.side;
    out.height = out.side + band;
    out.top = band;
    out.background = style.background.value_or(theme.background);
    out.hasOutline = theme.outline.has_value();
    out.outline = theme.outline.value_or(Rgb{});
    out.lineWidth = std::clamp(style.lineWidth, kLineWidthMin, kLineWidthMax);
    out.printedWidthCm = std::clamp(style.printedWidthCm, kPrintedWidthMinCm, kPrintedWidthMaxCm);
    const double scale = static_cast<double>(out.side) / kCanvasSide;
    out.dashOn = std::max(6.0 * scale, 3.0 * out.lineWidth);
    out.dashOff = std::max(4.0 * scale, 2.0 * out.lineWidth);
    thread_local EyeView eye;
    thread_local FigureDepth depth;
    const Wireframe section = style.section ? SectionLines(wire, *style.section) : Wireframe{};
    // After each eye's surface, while its depth stands: twice as heavy, in the accent (each eye's
    // own colour in stereo, which the glasses need).
    auto addSection = [&](const Camera& eyeCamera, Rgb colour) {
        if (section.ops.empty())
            return;
        const FigureBlend blend = out.layers.back().blend;
        out.layers.push_back({blend, 2 * out.lineWidth, {}});
        AddSection(eyeCamera, section, style, out, colour, depth, out.layers.back());
    };
    if (!style.anaglyph) {
        out.layers.emplace_back();
        AddEye(camera, wire, style, out, style.lineColour.value_or(theme.lines), eye, depth, out.layers.back());
        addSection(camera, theme.accent);
    } else {
        const bool light = RelativeLuminance(out.background) > 0.5;
        const StereoTints tints = StereoTintsFor(style.swapEyes, light);
        const FigureBlend blend = light ? FigureBlend::Darken : FigureBlend::Lighten;
        out.layers.push_back({blend, 0, {}});
        AddEye(StereoEyeCamera(camera, -1.0), wire, style, out, tints.left, eye, depth, out.layers.back());
        addSection(StereoEyeCamera(camera, -1.0), tints.left);
        out.layers.push_back({blend, 0, {}});
        AddEye(StereoEyeCamera(camera, 1.0), wire, style, out, tints.right, eye, depth, out.layers.back());
        addSection(StereoEyeCamera(camera, 1.0), tints.right);
    }
    if ((style.axes || style.ticks) && style.hiddenLines) {
        if (style.anaglyph) {   // the axes are seen from between the eyes
            Project(camera, style.parallel, static_cast<double>(out.side) / kCanvasSide, wire, eye);
            FillDepth(wire, eye, out.side, style.parallel, depth);
        }
        AddAxes(camera, wire, style, theme.ink, &depth, out);
    } else if (style.axes || style.ticks) {
        AddAxes(camera, wire, style, theme.ink, nullptr, out);
    }
    if (!style.label.empty())
        AddLabel(style.label, TitleColour(style, out.background), out);
    if (band > 0)
        AddTitle(style.title, band, TitleColour(style, out.background), out);
}
