// The styled frame: per eye, project, fill the depth of the square with the facets, split every
// segment where its visibility changes, colour it, and draw each piece at the chosen width.
#include "render/styled_frame.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <type_traits>
#include <vector>

#include "render/depth_buffer.h"
#include "render/pixel_mapping.h"
#include "render/stroke_pen.h"
#include "render/visible_pieces.h"
#include "render/wireframe_projection.h"

namespace {

using visible_pieces::AddVisiblePieces;
using visible_pieces::WalkScratch;

// One eye's view of the wireframe's points.
struct EyePoints {
    ProjectedPoints     pixels;
    std::vector<double> cols, rows;   // continuous picture coordinates; filled for hidden lines
    std::vector<double> depths;       // distance in front of the eye along its direction
    std::vector<double> keys;         // DepthKey of each depth; filled for hidden lines
    std::vector<std::uint8_t> usable; // for the depth buffer; filled for hidden lines
    double              nearest = 0.0, farthest = 0.0;   // over the finite points in front
};

// Everything a frame reuses, so that a warm frame allocates nothing.
struct Scratch {
    EyePoints           eye;
    DepthBuffer         depth;
    WalkScratch         walk;
};

// Pixels bit for bit as the plain frame for a perspective eye; the parallel eye sees the target
// at the scale the perspective eye has there from the first distance.
void ProjectEye(const Camera& camera, bool parallel, bool continuous, bool depths, const Wireframe& wire,
                EyePoints& out)
{
    const size_t n = wire.Size();
    const Vec3 nHat = VecNormalize(camera.normal), target = TargetOf(camera);
    const double scale = ParallelScale(camera);
    if (!parallel && !continuous)
        ProjectWireframe(camera, wire, out.pixels);
    else {   // the pixels from the same sums below: for a perspective eye, the plain frame's bits
        out.pixels.cols.resize(n);
        out.pixels.rows.resize(n);
        out.pixels.finite.resize(n);
    }
    out.depths.resize(n);
    out.cols.resize(continuous || parallel ? n : 0);
    out.rows.resize(continuous || parallel ? n : 0);
    if (!depths && !parallel) {   // the pixels are all a plain stereo picture needs
        out.nearest = out.farthest = 0.0;
        return;
    }
    const Camera c = camera;   // in registers across the loops
    // Written on restricted pointers, one loop per output, so that the compiler can take two
    // points at once: each lane does exactly the double operations of one point.
    const double* __restrict xs = wire.xs.data();
    const double* __restrict ys = wire.ys.data();
    const double* __restrict zs = wire.zs.data();
    double* __restrict ds = out.depths.data();
    double* __restrict cols = out.cols.data();
    double* __restrict rows = out.rows.data();
    for (size_t i = 0; i < n; ++i)
        ds[i] = DepthAlong(c.eye, nHat, xs[i], ys[i], zs[i]);
    if (parallel)
        for (size_t i = 0; i < n; ++i) {
            const ViewPoint v = ParallelView(c, target, scale, xs[i], ys[i], zs[i]);
            cols[i] = v.x + kHalfSide;
            rows[i] = kHalfSide - v.y;
        }
    else if (continuous)
        for (size_t i = 0; i < n; ++i) {
            const ViewPoint v = PerspectiveView(c, xs[i], ys[i], zs[i]);
            cols[i] = v.x + kHalfSide;
            rows[i] = kHalfSide - v.y;
        }
    double nearest = INFINITY, farthest = -INFINITY;   // NaN and infinities compare false below
    const double least = parallel ? -INFINITY : 0.0;
    for (size_t i = 0; i < n; ++i) {
        const double d = out.depths[i];
        const bool counted = d > least && d < INFINITY;
        nearest = counted && d < nearest ? d : nearest;
        farthest = counted && d > farthest ? d : farthest;
    }
    out.nearest = nearest;
    out.farthest = farthest;
    if (parallel || continuous)   // PixelFromView of the same sums: column x + 250, row 250 - y
        PixelsFromView(out.cols.data(), out.rows.data(), n, out.pixels.cols.data(), out.pixels.rows.data(),
                       out.pixels.finite.data());
}

// The depth keys of every point, larger when nearer and linear across the screen; NaN behind a
// perspective eye. Then whether each point can be a facet's corner.
void FillKeys(EyePoints& eye, bool parallel)
{
    const size_t n = eye.depths.size();
    eye.keys.resize(n);
    eye.usable.resize(n);
    const double* __restrict depths = eye.depths.data();
    double* __restrict keys = eye.keys.data();
    if (parallel)
        for (size_t i = 0; i < n; ++i)
            keys[i] = -depths[i];
    else
        for (size_t i = 0; i < n; ++i) {   // without a branch, so that it runs two points at once
            const double inverse = 1.0 / depths[i];
            keys[i] = depths[i] > 0.0 ? inverse : NAN;
        }
    UsablePoints(eye.cols.data(), eye.rows.data(), keys, n, eye.usable.data());
}

void FillDepth(const Wireframe& wire, const EyePoints& eye, bool parallel, DepthBuffer& depth)
{
    depth.Reset(!parallel, HiddenTolerance(eye.nearest, eye.farthest));
    depth.AddFacets({eye.cols.data(), eye.rows.data(), eye.keys.data(), eye.usable.data(), wire.Size(),
                     wire.triangles.data(), wire.triangles.size()});
}

Rgb Tinted(Rgb tint, std::uint8_t level)
{
    auto scale = [level](std::uint8_t c) { return static_cast<std::uint8_t>(c * level / 255); };
    return {scale(tint.r), scale(tint.g), scale(tint.b)};
}

// The strokes of one eye: the wireframe's segments as the plain frame replays them, coloured and
// split by visibility.
template <class Sink>
void AddEyeStrokes(const Camera& camera, const Wireframe& wire, const FrameStyle& style, Rgb tint, Scratch& s,
                   Sink& strokes)
{
    EyePoints& eye = s.eye;
    ProjectEye(camera, style.parallel, style.hiddenLines, style.hiddenLines || style.depthCue, wire, eye);
    if (style.hiddenLines) {
        FillKeys(eye, style.parallel);
        FillDepth(wire, eye, style.parallel, s.depth);
    }
    const double extent = eye.farthest - eye.nearest;
    Rgb shades[kDepthShades];
    for (int level = 0; level < kDepthShades; ++level)
        shades[level] = Tinted(tint, DepthShade(level));
    const double levelsPerDepth = LevelsPerDepth(extent);
    // In locals: drawing stores through pointers the compiler cannot tell from these.
    const double* depths = eye.depths.data();
    const double* keys = eye.keys.data();
    const double farthest = eye.farthest;
    const DepthBuffer& depth = s.depth;
    WalkScratch& walk = s.walk;
    auto levelOf = [&](std::uint32_t a, std::uint32_t b) {
        return DepthLevel(farthest, levelsPerDepth, depths[a], depths[b]);
    };
    auto colourOf = [&](std::uint32_t a, std::uint32_t b) { return style.depthCue ? shades[levelOf(a, b)] : tint; };
    if (!style.hiddenLines && strokes.Direct()) {
        if (style.depthCue)
            strokes.Replay(wire, eye.pixels, shades, levelOf);
        else
            strokes.Replay(wire, eye.pixels, &tint, [](std::uint32_t, std::uint32_t) { return 0; });
        return;
    }
    const int* cols = eye.pixels.cols.data();
    const int* rows = eye.pixels.rows.data();
    const int* finite = eye.pixels.finite.data();
    const bool hidden = style.hiddenLines;
    // Inlined into the walk over the lines, so that what it reads stays in registers across them.
    auto segment = [&](std::uint32_t a, std::uint32_t b) __attribute__((always_inline)) {
        const Pixel from{cols[a], rows[a]}, to{cols[b], rows[b]};
        const Rgb colour = colourOf(a, b);
        if (!hidden) {
            strokes(Stroke{from, to, colour});
            return;
        }
        const double ka = keys[a], kb = keys[b];
        if (std::isnan(ka) || std::isnan(kb))
            return;   // reaches behind the eye: nothing of it is seen
        AddVisiblePieces(from, to, ka, kb, colour, depth, walk, strokes);
    };
    // The lines of the plain frame, as its replay draws them.
    ForEachReplayedLine(wire, finite, [&](std::uint32_t from, std::uint32_t to, bool)
                                          __attribute__((always_inline)) { segment(from, to); });
}

template <class C>
void DrawStyledOn(const Camera& camera, const Wireframe& wire, const FrameStyle& style, C& canvas)
{
    thread_local Scratch scratch;
    canvas.SelectPen(kBorderWhite);
    canvas.Rectangle(0, 0, kCanvasSide, kCanvasSide, kBackgroundBlack);
    const int width = std::clamp(style.lineWidth, kLineWidthMin, kLineWidthMax);
    StrokePen<C> pen(canvas, width, style.anaglyph);
    if (!style.anaglyph) {
        AddEyeStrokes(camera, wire, style, kSurfaceBlue, scratch, pen);
        return;
    }
    const auto [left, right] = StereoTintsFor(style.swapEyes, false);   // on the frame's black
    if constexpr (!std::is_same_v<C, Canvas>) {
        if (!style.depthCue) {
            // One colour on black: storing it is lightening it everywhere but on the white
            // outline, which is drawn again after it.
            StrokePen<C> firstEye(canvas, width, false);
            AddEyeStrokes(StereoEyeCamera(camera, -1.0), wire, style, left, scratch, firstEye);
            constexpr int last = kCanvasSide - 1;
            canvas.SelectPen(kBorderWhite);
            canvas.MoveTo({0, 0});
            for (const Pixel corner : {Pixel{last, 0}, Pixel{last, last}, Pixel{0, last}, Pixel{0, 0}})
                canvas.LineTo(corner);
            AddEyeStrokes(StereoEyeCamera(camera, 1.0), wire, style, right, scratch, pen);
            return;
        }
    }
    AddEyeStrokes(StereoEyeCamera(camera, -1.0), wire, style, left, scratch, pen);
    AddEyeStrokes(StereoEyeCamera(camera, 1.0), wire, style, right, scratch, pen);
}

}   // namespace

Camera StereoEyeCamera(const Camera& camera, double side)
{
    ViewState eye;
    const double half = 0.5 * kStereoSeparationRatio * VecLength(camera.normal);
    eye.target = TargetOf(camera);
    eye.eye = VecAdd(camera.eye, VecScale(side * half, camera.right));
    eye.up = camera.up;
    eye.zoom = camera.zoom;
    UpdateCameraBasis(eye);
    return CameraOf(eye);
}

void DrawStyledFrame(const Camera& camera, const Wireframe& wire, const FrameStyle& style, Canvas& canvas)
{
    DrawStyledOn(camera, wire, style, canvas);
}

void DrawStyledFrame(const Camera& camera, const Wireframe& wire, const FrameStyle& style, RasterCanvas& picture)
{
    picture.ClearHiddenRows();
    DrawStyledOn(camera, wire, style, picture);
}

void DrawStyledFrame(const Camera& camera, const Wireframe& wire, const FrameStyle& style, IndexedCanvas& picture)
{
    picture.ClearHiddenRows();
    DrawStyledOn(camera, wire, style, picture);
}

void DrawStyledFrame(const Camera& camera, const Wireframe& wire, const FrameStyle& style, SvgCanvas& svg)
{
    svg.LightenPaths(style.anaglyph);   // the paths only: the square stays as it is
    DrawStyledOn(camera, wire, style, static_cast<Canvas&>(svg));
    svg.LightenPaths(false);
}
