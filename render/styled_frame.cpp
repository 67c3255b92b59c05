// The styled frame: per eye, project, fill the depth of the square with the facets, split every
// segment where its visibility changes, colour it, then draw the strokes at the chosen width.
#include "render/styled_frame.h"

#include <algorithm>
#include <cmath>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <type_traits>
#include <vector>

#include "render/depth_buffer.h"
#include "render/line_walk.h"
#include "render/pixel_mapping.h"
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
    double              nearest = 0.0, farthest = 0.0;   // over the finite points in front
};

struct Stroke {
    Pixel from, to;
    Rgb   colour;
};

// Everything a frame reuses, so that a warm frame allocates nothing.
struct Scratch {
    EyePoints           eye;
    DepthBuffer         depth;
    std::vector<Stroke> strokes;
};

Vec3 TargetOf(const Camera& camera)
{
    return VecSub(camera.eye, camera.normal);
}

// Pixels bit for bit as the plain frame for a perspective eye; the parallel eye sees the target
// at the scale the perspective eye has there from the first distance.
void ProjectEye(const Camera& camera, bool parallel, bool continuous, const Wireframe& wire, EyePoints& out)
{
    const size_t n = wire.Size();
    const Vec3 nHat = VecNormalize(camera.normal), target = TargetOf(camera);
    const double scale = camera.zoom * kPlaneOffset / kFirstEyeDistance;
    if (!parallel)
        ProjectWireframe(camera, wire, out.pixels);
    else {
        out.pixels.cols.resize(n);
        out.pixels.rows.resize(n);
        out.pixels.finite.resize(n);
    }
    out.cols.resize(continuous || parallel ? n : 0);
    out.rows.resize(continuous || parallel ? n : 0);
    out.depths.resize(n);
    out.nearest = INFINITY;
    out.farthest = -INFINITY;
    for (size_t i = 0; i < n; ++i) {
        const Vec3 p = wire.Point(i);
        const double d = VecDot(VecSub(camera.eye, p), nHat);
        out.depths[i] = d;
        if (std::isfinite(d) && (parallel || d > 0.0)) {
            out.nearest = std::min(out.nearest, d);
            out.farthest = std::max(out.farthest, d);
        }
        if (parallel) {
            const Vec3 v = VecSub(p, target);
            const std::optional<Pixel> pixel =
                PixelFromView({scale * VecDot(v, camera.right), scale * VecDot(v, camera.up), 0.0});
            out.pixels.finite[i] = pixel.has_value();
            out.pixels.cols[i] = pixel ? pixel->col : 0;
            out.pixels.rows[i] = pixel ? pixel->row : 0;
            out.cols[i] = scale * VecDot(v, camera.right) + kHalfSide;
            out.rows[i] = kHalfSide - scale * VecDot(v, camera.up);
        } else if (continuous) {
            Vec3 hit;
            const Vec3 view = ProjectWithCamera(camera, p, hit);
            out.cols[i] = view.x + kHalfSide;
            out.rows[i] = kHalfSide - view.y;
        }
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
    for (size_t i = 0; i + 2 < t.size(); i += 3) {
        ScreenPoint corner[3];
        bool usable = true;
        for (int k = 0; k < 3 && usable; ++k) {
            const std::uint32_t at = t[i + static_cast<size_t>(k)];
            usable = at < n;
            if (!usable)
                break;
            corner[k] = {eye.cols[at], eye.rows[at], DepthKey(eye.depths[at], parallel)};
            usable = std::isfinite(corner[k].col) && std::isfinite(corner[k].row) && std::isfinite(corner[k].key);
        }
        if (usable)   // a facet reaching behind the eye cannot be drawn flat: it hides nothing
            depth.AddTriangle(corner[0], corner[1], corner[2]);
    }
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
void AddVisiblePieces(Pixel from, Pixel to, double ka, double kb, Rgb colour, const DepthBuffer& depth,
                      std::vector<Stroke>& strokes)
{
    bool visible = true;
    long long runStart = 0;
    const bool exact = WalkLine(from, to, kCanvasSide, kCanvasSide, [&](long long i, long long col, long long row, long long m) {
        const double key = m == 0 ? std::max(ka, kb) : ka + (kb - ka) * (static_cast<double>(i) / static_cast<double>(m));
        const bool seen = depth.Sees(col, row, key);
        if (seen == visible)
            return;
        if (visible && i > runStart)
            strokes.push_back({runStart == 0 ? from : PixelAtStep(from, to, runStart), PixelAtStep(from, to, i - 1), colour});
        visible = seen;
        runStart = i;
    });
    if (!exact) {   // ends far beyond the picture: too near the eye's plane to test; drawn whole
        strokes.push_back({from, to, colour});
        return;
    }
    if (visible)
        strokes.push_back({runStart == 0 ? from : PixelAtStep(from, to, runStart), to, colour});
}

Rgb Tinted(Rgb tint, std::uint8_t level)
{
    auto scale = [level](std::uint8_t c) { return static_cast<std::uint8_t>(c * level / 255); };
    return {scale(tint.r), scale(tint.g), scale(tint.b)};
}

// The strokes of one eye: the wireframe's segments as the plain frame replays them, coloured and
// split by visibility.
void AddEyeStrokes(const Camera& camera, const Wireframe& wire, const FrameStyle& style, Rgb tint, Scratch& s)
{
    EyePoints& eye = s.eye;
    ProjectEye(camera, style.parallel, style.hiddenLines, wire, eye);
    if (style.hiddenLines)
        FillDepth(wire, eye, style.parallel, s.depth);
    const double extent = eye.farthest - eye.nearest;
    auto colourOf = [&](std::uint32_t a, std::uint32_t b) {
        if (!style.depthCue)
            return tint;
        const double d = 0.5 * (eye.depths[a] + eye.depths[b]);
        const double nearness = extent > 0.0 ? (eye.farthest - d) / extent : 1.0;
        const double level = std::clamp(std::floor(nearness * kDepthShades), 0.0, double(kDepthShades - 1));
        return Tinted(tint, DepthShade(static_cast<int>(level)));
    };
    const int* cols = eye.pixels.cols.data();
    const int* rows = eye.pixels.rows.data();
    const int* finite = eye.pixels.finite.data();
    auto segment = [&](std::uint32_t a, std::uint32_t b) {
        const Pixel from{cols[a], rows[a]}, to{cols[b], rows[b]};
        const Rgb colour = colourOf(a, b);
        if (!style.hiddenLines) {
            s.strokes.push_back({from, to, colour});
            return;
        }
        const double ka = DepthKey(eye.depths[a], style.parallel), kb = DepthKey(eye.depths[b], style.parallel);
        if (std::isnan(ka) || std::isnan(kb))
            return;   // reaches behind the eye: nothing of it is seen
        AddVisiblePieces(from, to, ka, kb, colour, s.depth, s.strokes);
    };
    // The replay rules of the plain frame: a line starts with a dot at its first finite sample,
    // and a sample that is not finite breaks the line.
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
            segment(moveFirst ? op.from : previous, op.from);
            moveFirst = false;
            previous = op.from;
        } else if (finite[op.from] && finite[op.to]) {
            segment(op.from, op.to);
        }
    }
}

// Offsets across a line for each width: 1 none, 2 one side, 3 both, 4 both and one more.
int WidthOffset(int width, int pass)
{
    return pass - (width - 1) / 2;
}

template <class C>
void DrawStrokes(const std::vector<Stroke>& strokes, int width, bool addColours, C& canvas)
{
    constexpr bool kPicture = !std::is_same_v<C, Canvas>;
    bool penSet = false;
    Rgb pen;
    Pixel position;
    for (int pass = 0; pass < width; ++pass) {
        const int o = WidthOffset(width, pass);
        for (const Stroke& s : strokes) {
            const bool xMajor = std::llabs(static_cast<long long>(s.to.col) - s.from.col) >=
                                std::llabs(static_cast<long long>(s.to.row) - s.from.row);
            auto shifted = [&](Pixel p) {   // saturating: a far end stays far
                const long long col = p.col + (xMajor ? 0 : o), row = p.row + (xMajor ? o : 0);
                return Pixel{static_cast<int>(std::clamp<long long>(col, INT_MIN, INT_MAX)),
                             static_cast<int>(std::clamp<long long>(row, INT_MIN, INT_MAX))};
            };
            const Pixel from = shifted(s.from), to = shifted(s.to);
            if constexpr (kPicture) {
                if (addColours) {
                    WalkLine(from, to, C::kWidth, C::kHeight, [&](long long, long long col, long long row, long long) {
                        canvas.Lighten(col, row, s.colour);
                    });
                    continue;
                }
            }
            if (!penSet || !(pen == s.colour)) {
                canvas.SelectPen(s.colour);
                pen = s.colour;
                penSet = true;
                canvas.MoveTo(from);
            } else if (!(position == from)) {
                canvas.MoveTo(from);
            }
            canvas.LineTo(to);
            position = to;
        }
    }
}

template <class C>
void DrawStyledOn(const Camera& camera, const Wireframe& wire, const FrameStyle& style, C& canvas)
{
    thread_local Scratch scratch;
    scratch.strokes.clear();
    canvas.SelectPen(kBorderWhite);
    canvas.Rectangle(0, 0, kCanvasSide, kCanvasSide, kBackgroundBlack);
    const int width = std::clamp(style.lineWidth, kLineWidthMin, kLineWidthMax);
    if (!style.anaglyph) {
        AddEyeStrokes(camera, wire, style, kSurfaceBlue, scratch);
        DrawStrokes(scratch.strokes, width, false, canvas);
        return;
    }
    const Rgb left = style.swapEyes ? kStereoCyan : kStereoRed, right = style.swapEyes ? kStereoRed : kStereoCyan;
    AddEyeStrokes(StereoEyeCamera(camera, -1.0), wire, style, left, scratch);
    AddEyeStrokes(StereoEyeCamera(camera, 1.0), wire, style, right, scratch);
    DrawStrokes(scratch.strokes, width, true, canvas);
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
