// The styled frame: per eye, project, fill the depth of the square with the facets, split every
// segment where its visibility changes, colour it, and draw each piece at the chosen width.
#include "render/styled_frame.h"

#include <algorithm>
#include <cmath>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <type_traits>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "render/depth_buffer.h"
#include "render/line_walk.h"
#include "render/pixel_mapping.h"
#include "render/stroke_pen.h"
#include "render/wireframe_projection.h"

namespace {

constexpr double kHiddenTolerance = 0.02;   // of the surface's depth at that view

constexpr Rgb kStereoRed{255, 0, 0};
constexpr Rgb kStereoCyan{0, 255, 255};

// One eye's view of the wireframe's points.
struct EyePoints {
    ProjectedPoints     pixels;
    std::vector<double> cols, rows;   // continuous picture coordinates; filled for hidden lines
    std::vector<double> depths;       // distance in front of the eye along its direction
    std::vector<double> keys;         // DepthKey of each depth; filled for hidden lines
    double              nearest = 0.0, farthest = 0.0;   // over the finite points in front
};

// Everything a frame reuses, so that a warm frame allocates nothing.
struct Scratch {
    EyePoints           eye;
    DepthBuffer         depth;
};

Vec3 TargetOf(const Camera& camera)
{
    return VecSub(camera.eye, camera.normal);
}

// Pixels bit for bit as the plain frame for a perspective eye; the parallel eye sees the target
// at the scale the perspective eye has there from the first distance.
void ProjectEye(const Camera& camera, bool parallel, bool continuous, bool depths, const Wireframe& wire,
                EyePoints& out)
{
    const size_t n = wire.Size();
    const Vec3 nHat = VecNormalize(camera.normal), target = TargetOf(camera);
    const double scale = camera.zoom * kPlaneOffset / kFirstEyeDistance;
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
    const Vec3 e = camera.eye, q = camera.planePoint, nv = camera.normal, r = camera.right, u = camera.up;
    const double zoom = camera.zoom;
    // Written on restricted pointers, one loop per output, so that the compiler can take two
    // points at once: each lane does exactly the double operations of one point.
    const double* __restrict xs = wire.xs.data();
    const double* __restrict ys = wire.ys.data();
    const double* __restrict zs = wire.zs.data();
    double* __restrict ds = out.depths.data();
    double* __restrict cols = out.cols.data();
    double* __restrict rows = out.rows.data();
    for (size_t i = 0; i < n; ++i) {
        const double dx = e.x - xs[i], dy = e.y - ys[i], dz = e.z - zs[i];
        ds[i] = (dz * nHat.z + dy * nHat.y) + dx * nHat.x;
    }
    if (parallel)
        for (size_t i = 0; i < n; ++i) {
            const double vx = xs[i] - target.x, vy = ys[i] - target.y, vz = zs[i] - target.z;
            cols[i] = scale * ((vz * r.z + vy * r.y) + vx * r.x) + kHalfSide;
            rows[i] = kHalfSide - scale * ((vz * u.z + vy * u.y) + vx * u.x);
        }
    else if (continuous)
        for (size_t i = 0; i < n; ++i) {
            const double px = xs[i], py = ys[i], pz = zs[i];
            const double dx = e.x - px, dy = e.y - py, dz = e.z - pz;
            const double t = ((nv.z * (q.z - pz) + nv.y * (q.y - py)) + nv.x * (q.x - px)) /
                             ((nv.z * dz + nv.y * dy) + nv.x * dx);
            const double vx = (dx * t + px) * zoom - q.x, vy = (dy * t + py) * zoom - q.y, vz = (dz * t + pz) * zoom - q.z;
            cols[i] = ((vz * r.z + vy * r.y) + vx * r.x) + kHalfSide;
            rows[i] = kHalfSide - ((vz * u.z + vy * u.y) + vx * u.x);
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
        for (size_t i = 0; i < n; ++i) {
            const double col = out.cols[i], row = out.rows[i];
#if defined(__SSE2__)
            // As ProjectWireframe: the processor's truncation is exact wherever it does not
            // answer INT_MIN, and only then is the careful path needed.
            const int fastCol = _mm_cvttsd_si32(_mm_set_sd(col)), fastRow = _mm_cvttsd_si32(_mm_set_sd(row));
            if (fastCol != INT_MIN && fastRow != INT_MIN) {
                out.pixels.finite[i] = 1;
                out.pixels.cols[i] = fastCol;
                out.pixels.rows[i] = fastRow;
                continue;
            }
#endif
            const bool ok = std::isfinite(col) && std::isfinite(row);
            out.pixels.finite[i] = ok;
            out.pixels.cols[i] = ok ? TruncateToPixel(col) : 0;
            out.pixels.rows[i] = ok ? TruncateToPixel(row) : 0;
        }
}

// Larger when nearer and linear across the screen; NaN behind a perspective eye.
double DepthKey(double depth, bool parallel)
{
    if (parallel)
        return -depth;
    return depth > 0.0 ? 1.0 / depth : NAN;
}

void FillDepth(const Wireframe& wire, const EyePoints& eye, bool parallel, DepthBuffer& depth)
{
    const double extent = std::isfinite(eye.farthest - eye.nearest) ? eye.farthest - eye.nearest : 0.0;
    depth.Reset(!parallel, kHiddenTolerance * extent);
    const size_t n = wire.Size();
    const std::vector<std::uint32_t>& t = wire.triangles;
    auto cornersOf = [&](size_t first, ScreenPoint (&corner)[3]) {
        for (int k = 0; k < 3; ++k) {
            const std::uint32_t at = t[first + static_cast<size_t>(k)];
            if (at >= n)
                return false;
            corner[k] = {eye.cols[at], eye.rows[at], eye.keys[at]};
            if (!std::isfinite(corner[k].col) || !std::isfinite(corner[k].row) || !std::isfinite(corner[k].key))
                return false;   // a facet reaching behind the eye cannot be drawn flat: it hides nothing
        }
        return true;
    };
    ScreenPoint corner[3], next[3];
    size_t i = 0;
    for (; i + 5 < t.size(); i += 6) {
        // A grid lists the halves of a quad a b c, a c d together: one pass for both.
        const bool quad = t[i + 3] == t[i] && t[i + 4] == t[i + 2];
        const bool one = cornersOf(i, corner), two = cornersOf(i + 3, next);
        if (quad && one && two)
            depth.AddQuad(corner[0], corner[1], corner[2], next[2]);
        else {
            if (one)
                depth.AddTriangle(corner[0], corner[1], corner[2]);
            if (two)
                depth.AddTriangle(next[0], next[1], next[2]);
        }
    }
    if (i + 2 < t.size() && cornersOf(i, corner))
        depth.AddTriangle(corner[0], corner[1], corner[2]);
}

// The pixel of step i of the walk from -> to, by the walk's own closed form.
Pixel PixelAtStep(Pixel from, Pixel to, long long i)
{
    const long long dx = std::llabs(static_cast<long long>(to.col) - from.col);
    const long long dy = std::llabs(static_cast<long long>(to.row) - from.row);
    const long long sx = to.col < from.col ? -1 : 1, sy = to.row < from.row ? -1 : 1;
    const bool xMajor = dx >= dy;
    const long long major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
    const long long offset = major == 0 ? 0 : (2 * minor * i + major) / (2 * major);
    if (xMajor)
        return {static_cast<int>(from.col + sx * i), static_cast<int>(from.row + sy * offset)};
    return {static_cast<int>(from.col + sx * offset), static_cast<int>(from.row + sy * i)};
}

// The visible pieces of from -> to (keys ka, kb at the ends) as strokes.
template <class Sink>
void AddVisiblePieces(Pixel from, Pixel to, double ka, double kb, Rgb colour, const DepthBuffer& depth, Sink& strokes)
{
    bool visible = true;
    long long runStart = 0;
    auto step = [&](long long i, bool seen) {
        if (seen == visible)
            return;
        if (visible && i > runStart)
            strokes(Stroke{runStart == 0 ? from : PixelAtStep(from, to, runStart), PixelAtStep(from, to, i - 1), colour});
        visible = seen;
        runStart = i;
    };
    auto inside = [](Pixel p) {
        return static_cast<unsigned>(p.col) < unsigned(kCanvasSide) && static_cast<unsigned>(p.row) < unsigned(kCanvasSide);
    };
    if (inside(from) && inside(to)) {   // the common case: the walk of the pictures, by pointer
        const int dx = std::abs(to.col - from.col), dy = std::abs(to.row - from.row);
        const std::ptrdiff_t stepX = to.col < from.col ? -1 : 1, stepY = to.row < from.row ? -kCanvasSide : kCanvasSide;
        const bool xMajor = dx >= dy;
        const int major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
        const std::ptrdiff_t majorStep = xMajor ? stepX : stepY, minorStep = xMajor ? stepY : stepX;
        // The pixel indices first, then every test in one loop, then the runs.
        std::size_t index[kCanvasSide];   // a line inside the square has at most this many pixels
        bool seen[kCanvasSide];
        std::ptrdiff_t at = static_cast<std::ptrdiff_t>(from.row) * kCanvasSide + from.col;
        int remainder = major;
        for (int i = 0;; ++i) {   // the minor step without a branch: on a slanted line it has no pattern
            index[i] = static_cast<std::size_t>(at);
            if (i == major)
                break;
            remainder += 2 * minor;
            const bool carry = remainder >= 2 * major;
            remainder -= carry ? 2 * major : 0;
            at += majorStep + (carry ? minorStep : 0);
        }
        const std::size_t count = static_cast<std::size_t>(major) + 1;
        if (major == 0)
            depth.SeesAlong(1, std::max(ka, kb), 0.0, [&](std::size_t i) { return index[i]; }, seen);
        else
            depth.SeesAlong(count, ka, (kb - ka) / major, [&](std::size_t i) { return index[i]; }, seen);
        if (std::find(seen, seen + count, false) == seen + count && strokes.Walked(to, index, count, colour))
            return;   // seen whole: its pixels are already known
        for (std::size_t i = 0; i < count; ++i)
            step(static_cast<long long>(i), seen[i]);
    } else {
        double perStep = NAN;   // known once the walk tells the number of steps
        const bool exact = WalkLine(from, to, kCanvasSide, kCanvasSide, [&](long long i, long long col, long long row, long long m) {
            if (std::isnan(perStep))
                perStep = m == 0 ? 0.0 : (kb - ka) / static_cast<double>(m);
            step(i, depth.Sees(col, row, m == 0 ? std::max(ka, kb) : ka + perStep * static_cast<double>(i)));
        });
        if (!exact) {   // ends far beyond the picture: too near the eye's plane to test; drawn whole
            strokes(Stroke{from, to, colour});
            return;
        }
    }
    if (visible)
        strokes(Stroke{runStart == 0 ? from : PixelAtStep(from, to, runStart), to, colour});
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
        eye.keys.resize(eye.depths.size());
        for (size_t i = 0; i < eye.depths.size(); ++i)
            eye.keys[i] = DepthKey(eye.depths[i], style.parallel);
        FillDepth(wire, eye, style.parallel, s.depth);
    }
    const double extent = eye.farthest - eye.nearest;
    Rgb shades[kDepthShades];
    for (int level = 0; level < kDepthShades; ++level)
        shades[level] = Tinted(tint, DepthShade(level));
    const double levelsPerDepth = extent > 0.0 ? kDepthShades / extent : INFINITY;   // flat: all nearest
    // In locals: drawing stores through pointers the compiler cannot tell from these.
    const double* depths = eye.depths.data();
    const double* keys = eye.keys.data();
    const double farthest = eye.farthest;
    const DepthBuffer& depth = s.depth;
    auto levelOf = [&](std::uint32_t a, std::uint32_t b) {
        // The shade of the segment's middle; truncation is floor here, as the value is clamped to >= 0.
        double level = (farthest - 0.5 * (depths[a] + depths[b])) * levelsPerDepth;
        level = std::isnan(level) ? kDepthShades - 1 : level;
        return level >= kDepthShades - 1 ? kDepthShades - 1 : level > 0.0 ? static_cast<int>(level) : 0;
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
    auto segment = [&](std::uint32_t a, std::uint32_t b) {
        const Pixel from{cols[a], rows[a]}, to{cols[b], rows[b]};
        const Rgb colour = colourOf(a, b);
        if (!style.hiddenLines) {
            strokes(Stroke{from, to, colour});
            return;
        }
        const double ka = keys[a], kb = keys[b];
        if (std::isnan(ka) || std::isnan(kb))
            return;   // reaches behind the eye: nothing of it is seen
        AddVisiblePieces(from, to, ka, kb, colour, depth, strokes);
    };
    // The lines of the plain frame, as its replay draws them.
    ForEachReplayedLine(wire, finite, [&](std::uint32_t from, std::uint32_t to, bool) { segment(from, to); });
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
    const Rgb left = style.swapEyes ? kStereoCyan : kStereoRed, right = style.swapEyes ? kStereoRed : kStereoCyan;
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
