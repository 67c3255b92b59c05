// Building a figure: project at the picture's size, hide or dash what the facets cover, colour,
// and add the axes and the title.
#include "render/figure.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "render/depth_buffer.h"
#include "render/figure_axes.h"
#include "render/figure_strokes.h"
#include "render/pixel_mapping.h"
#include "render/styled_frame.h"
#include "render/theme.h"
#include "render/figure_title.h"
#include "render/wireframe_projection.h"

namespace {

// The nearest facet of the projected wire at every pixel of the square.
void FillDepth(const Wireframe& wire, const EyeView& eye, int side, bool parallel, DepthBuffer& depth)
{
    depth.Reset(!parallel, HiddenTolerance(eye.nearest, eye.farthest), side);
    for (size_t t = 0; t + 2 < wire.triangles.size(); t += 3) {
        const std::uint32_t* tri = wire.triangles.data() + t;
        const double cols[] = {eye.cols[tri[0]], eye.cols[tri[1]], eye.cols[tri[2]]};
        const double rows[] = {eye.rows[tri[0]], eye.rows[tri[1]], eye.rows[tri[2]]};
        const double keys[] = {eye.keys[tri[0]], eye.keys[tri[1]], eye.keys[tri[2]]};
        depth.AddExactTriangle(cols, rows, keys);
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
                const DepthBuffer& depth, FigureLayer& layer)
{
    thread_local EyeView eye;
    ProjectFigure(camera, style.parallel, static_cast<double>(figure.side) / kCanvasSide, lines, eye);
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
            EyeView& eye, DepthBuffer& depth, FigureLayer& layer)
{
    const double scale = static_cast<double>(figure.side) / kCanvasSide;
    ProjectFigure(camera, style.parallel, scale, wire, eye);
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
    thread_local DepthBuffer depth;
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
            ProjectFigure(camera, style.parallel, static_cast<double>(out.side) / kCanvasSide, wire, eye);
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
