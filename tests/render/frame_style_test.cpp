// Styled frames: the default is today's frame, and each option shows what it promises.
#include "geometry/view_changes.h"
#include "render/frame.h"
#include "render/raster_canvas.h"
#include "render/recording_canvas.h"
#include "render/styled_frame.h"
#include "surfaces/registry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <set>
#include <vector>

namespace {

struct Shot {
    Camera           camera;
    const Wireframe* wire;
};

Shot FirstView(SurfaceKind kind, double distance = 0.0)
{
    ViewState view;
    ResetViewState(view);
    view.surface = kind;
    const Wireframe& wire = BuiltinWireframe(kind);
    if (distance > 0.0) {
        BeginFrame(view, wire);
        SetEyeDistance(view, distance);
    }
    return {BeginFrame(view, wire), &wire};
}

RasterCanvas Picture(SurfaceKind kind, const FrameStyle& style, double distance = 0.0)
{
    const Shot shot = FirstView(kind, distance);
    RasterCanvas picture;
    DrawFrame(shot.camera, *shot.wire, style, picture);
    return picture;
}

Rgb ColourAt(const RasterCanvas& picture, int col, int row)
{
    const std::uint32_t v = picture.PixelAt(col, row);
    return {std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)};
}

// Pixels of the square's inside (the white outline left out) that are not black.
long long Ink(const RasterCanvas& picture)
{
    long long ink = 0;
    for (int row = 1; row < kCanvasSide - 1; ++row)
        for (int col = 1; col < kCanvasSide - 1; ++col)
            ink += (picture.PixelAt(col, row) & 0xFFFFFF) != 0;
    return ink;
}

using PixelSet = std::set<std::pair<int, int>>;

// The pixels of the plain frame's segments of wire (as the plain frame replays its lines) whose
// two ends a test's oracle puts in the class asked for: 1 seen, -1 hidden, 0 unsure.
PixelSet SegmentPixels(const Shot& shot, const std::function<int(Vec3)>& oracle, int wanted)
{
    RasterCanvas picture;
    picture.Clear(kBackgroundBlack);
    picture.SelectPen(kSurfaceBlue);
    const Wireframe& wire = *shot.wire;
    auto pixelOf = [&](std::uint32_t i) {
        Vec3 hit;
        const Vec3 v = ProjectWithCamera(shot.camera, wire.Point(i), hit);
        return Pixel{int(v.x + 250.0), int(250.0 - v.y)};
    };
    auto classOf = [&](std::uint32_t a, std::uint32_t b) {
        const int ca = oracle(wire.Point(a)), cb = oracle(wire.Point(b));
        return ca == cb ? ca : 0;
    };
    std::uint32_t previous = 0;
    for (const WireOp op : wire.ops) {
        if (op.to == WireOp::kLineNext && classOf(previous, op.from) == wanted) {
            picture.MoveTo(pixelOf(previous));
            picture.LineTo(pixelOf(op.from));
        }
        previous = op.from;
    }
    PixelSet set;
    for (int row = 0; row < kCanvasSide; ++row)
        for (int col = 0; col < kCanvasSide; ++col)
            if (picture.PixelAt(col, row) & 0xFF)
                set.insert({col, row});
    return set;
}

PixelSet Without(PixelSet a, const PixelSet& b)
{
    for (const auto& p : b)
        a.erase(p);
    return a;
}

double DrawnShare(const RasterCanvas& picture, const PixelSet& pixels)
{
    long long drawn = 0;
    for (const auto& [col, row] : pixels)
        drawn += (picture.PixelAt(col, row) & 0xFF) != 0;
    return pixels.empty() ? 0.0 : double(drawn) / double(pixels.size());
}

// Seen or hidden by a solid given by f (negative inside): the ray from the eye must stay well
// outside it to be seen, and pass well inside it to be hidden.
int RayOracle(const Camera& camera, Vec3 p, const std::function<double(Vec3)>& f, Vec3 outward)
{
    const Vec3 toEye = VecSub(camera.eye, p);
    const double facing = VecDot(outward, toEye) / (VecLength(outward) * VecLength(toEye));
    double least = INFINITY;
    for (int i = 0; i <= 400; ++i) {
        const double t = 0.05 + 0.95 * i / 400.0;   // from the eye to near p
        least = std::min(least, f(VecAdd(p, VecScale(t, toEye))));
    }
    if (least < -25.0)
        return -1;
    return least > 5.0 && facing > 0.2 ? 1 : 0;
}

TEST(FrameStyle, TheDefaultDrawsTodaysFrameOnEveryCanvasForEverySurface)
{
    FrameStyle swapAlone;
    swapAlone.swapEyes = true;   // without the stereo picture, nothing to exchange
    for (SurfaceKind kind = 0; kind <= kBuiltinSurfaceCount; ++kind)
        for (const double distance : {0.0, 45.0}) {
            const Shot shot = FirstView(kind, distance);
            for (const FrameStyle& style : {FrameStyle{}, swapAlone}) {
                RecordingCanvas today, styled;
                DrawFrame(shot.camera, *shot.wire, today);
                DrawFrame(shot.camera, *shot.wire, style, styled);
                EXPECT_EQ(today.calls, styled.calls) << kind;
                IndexedCanvas todayFile, styledFile;
                DrawFrame(shot.camera, *shot.wire, todayFile);
                DrawFrame(shot.camera, *shot.wire, style, styledFile);
                EXPECT_EQ(0, std::memcmp(todayFile.Bits(), styledFile.Bits(), 500 * 502)) << kind;
                EXPECT_EQ(todayFile.Palette(), styledFile.Palette());
            }
        }
}

TEST(FrameStyle, LineWidthAloneKeepsTheLinesAndOnlyThickensThem)
{
    for (SurfaceKind kind = 1; kind <= kBuiltinSurfaceCount; ++kind) {
        FrameStyle wide;
        wide.lineWidth = 3;
        const RasterCanvas thin = Picture(kind, {}), thick = Picture(kind, wide);
        // The pseudosphere's meridians crowd into its horns, where wider lines cover each other.
        const double least = kind == kPseudosphere ? 1.8 : 2.0;
        EXPECT_GE(double(Ink(thick)), least * double(Ink(thin))) << kind;
        for (int row = 0; row < kCanvasSide; ++row)   // every pixel of the thin frame is still drawn
            for (int col = 0; col < kCanvasSide; ++col)
                if (thin.PixelAt(col, row) == PackPixel(kSurfaceBlue)) {
                    ASSERT_EQ(thick.PixelAt(col, row), PackPixel(kSurfaceBlue)) << kind << " " << col << "," << row;
                }
    }
}

TEST(HiddenLines, SphereShowsItsNearMeridiansAndHidesTheFarOnes)
{
    const Shot shot = FirstView(kSphere);
    auto oracle = [&](Vec3 p) {   // a point of the sphere is seen where it faces the eye
        const Vec3 toEye = VecSub(shot.camera.eye, p);
        const double facing = VecDot(p, toEye) / (VecLength(p) * VecLength(toEye));
        return facing > 0.1 ? 1 : facing < -0.1 ? -1 : 0;
    };
    const PixelSet nearSet = SegmentPixels(shot, oracle, 1);
    const PixelSet farOnly = Without(Without(SegmentPixels(shot, oracle, -1), nearSet), SegmentPixels(shot, oracle, 0));
    ASSERT_GT(nearSet.size(), 1000u);
    ASSERT_GT(farOnly.size(), 1000u);
    FrameStyle hidden;
    hidden.hiddenLines = true;
    const RasterCanvas plain = Picture(kSphere, {}), picture = Picture(kSphere, hidden);
    EXPECT_GT(DrawnShare(plain, farOnly), 0.99);   // the plain frame draws them all
    EXPECT_LE(DrawnShare(picture, farOnly), 0.05);
    EXPECT_GE(DrawnShare(picture, nearSet), 0.90);
}

TEST(HiddenLines, TorusHidesItsFarSideBehindTheNearTube)
{
    const Shot shot = FirstView(kTorus);
    auto solid = [](Vec3 q) {
        const double ring = std::sqrt(q.x * q.x + q.y * q.y) - 30.0;
        return ring * ring + q.z * q.z - 100.0;
    };
    auto oracle = [&](Vec3 p) {
        const double ring = std::sqrt(p.x * p.x + p.y * p.y);
        const Vec3 centre{p.x * 30.0 / ring, p.y * 30.0 / ring, 0.0};   // the tube's axis nearest p
        return RayOracle(shot.camera, p, solid, VecSub(p, centre));
    };
    const PixelSet seen = SegmentPixels(shot, oracle, 1);
    const PixelSet hiddenOnly = Without(Without(SegmentPixels(shot, oracle, -1), seen), SegmentPixels(shot, oracle, 0));
    ASSERT_GT(hiddenOnly.size(), 500u);
    FrameStyle hidden;
    hidden.hiddenLines = true;
    const RasterCanvas picture = Picture(kTorus, hidden);
    EXPECT_LE(DrawnShare(picture, hiddenOnly), 0.05);
    EXPECT_GE(DrawnShare(picture, seen), 0.90);
}

TEST(HiddenLines, ASurfaceWithoutFacetsHidesNothingAndKeepsThePlainPixels)
{
    FrameStyle hidden;
    hidden.hiddenLines = true;
    for (SurfaceKind kind = 1; kind <= kBuiltinSurfaceCount; ++kind)
        for (const double distance : {0.0, 120.0}) {   // every point in front of the eye
            const Shot shot = FirstView(kind, distance);
            Wireframe bare = *shot.wire;
            bare.triangles.clear();
            RasterCanvas plain, styled;
            DrawFrame(shot.camera, bare, plain);
            DrawFrame(shot.camera, bare, hidden, styled);
            EXPECT_EQ(0, std::memcmp(plain.Bits(), styled.Bits(), 500 * 502 * 4)) << kind << " " << distance;
        }
}

TEST(HiddenLines, EyeInsideTheTubeOrTheSphereDrawsWithoutFailing)
{
    FrameStyle hidden;
    hidden.hiddenLines = true;
    hidden.depthCue = true;
    for (const auto& [kind, eye] : {std::pair{kTorus, Vec3{30.0, 0.5, 0.5}}, std::pair{kSphere, Vec3{1.0, 2.0, 3.0}},
                                    std::pair{kSine, Vec3{3.0, 2.0, 1.5}}}) {
        ViewState view;
        ResetViewState(view);
        view.eye = eye;
        const Wireframe& wire = BuiltinWireframe(kind);
        const Camera camera = BeginFrame(view, wire);
        RasterCanvas picture;
        DrawFrame(camera, wire, hidden, picture);
        EXPECT_GT(Ink(picture), 100) << kind;   // the inside is seen, not hidden by itself
    }
}

TEST(DepthCue, NearerSegmentsAreBrighterInAtLeastEightShades)
{
    FrameStyle cue;
    cue.depthCue = true;
    const Shot shot = FirstView(kTorus);
    const RasterCanvas picture = Picture(kTorus, cue);
    std::set<int> blues;
    for (int row = 1; row < kCanvasSide - 1; ++row)
        for (int col = 1; col < kCanvasSide - 1; ++col)
            if (const Rgb c = ColourAt(picture, col, row); c.b > 0) {
                EXPECT_EQ(c.r + c.g, 0);
                blues.insert(c.b);
            }
    EXPECT_GE(blues.size(), 8u);
    // The sample nearest the eye and the one farthest from it: the near one in the brighter blue.
    const Wireframe& wire = *shot.wire;
    size_t nearest = 0, farthest = 0;
    for (size_t i = 0; i < wire.Size(); ++i) {
        const double d = VecLength(VecSub(shot.camera.eye, wire.Point(i)));
        if (d < VecLength(VecSub(shot.camera.eye, wire.Point(nearest))))
            nearest = i;
        if (d > VecLength(VecSub(shot.camera.eye, wire.Point(farthest))))
            farthest = i;
    }
    auto blueAt = [&](size_t i) {
        Vec3 hit;
        const Vec3 v = ProjectWithCamera(shot.camera, wire.Point(i), hit);
        return ColourAt(picture, int(v.x + 250.0), int(250.0 - v.y)).b;
    };
    EXPECT_EQ(blueAt(nearest), 255);
    EXPECT_LT(blueAt(farthest), 110);
}

TEST(Anaglyph, RedAndCyanDifferByParallaxAndAddUpToWhite)
{
    FrameStyle stereo;
    stereo.anaglyph = true;
    const RasterCanvas picture = Picture(kTorus, stereo);
    // The eyes converge on the target: the near side (lower half here) is seen farther right by
    // the left eye, the far side farther left.
    double redNear = 0, cyanNear = 0, redFar = 0, cyanFar = 0;
    long long nRedNear = 0, nCyanNear = 0, nRedFar = 0, nCyanFar = 0, white = 0, other = 0;
    for (int row = 1; row < kCanvasSide - 1; ++row)
        for (int col = 1; col < kCanvasSide - 1; ++col) {
            const Rgb c = ColourAt(picture, col, row);
            const bool red = c == Rgb{255, 0, 0}, cyan = c == Rgb{0, 255, 255};
            white += c == Rgb{255, 255, 255};
            other += !red && !cyan && !(c == Rgb{255, 255, 255}) && !(c == kBackgroundBlack);
            const bool nearSide = row > 290;
            if (red)
                (nearSide ? (redNear += col, ++nRedNear) : (redFar += col, ++nRedFar));
            if (cyan)
                (nearSide ? (cyanNear += col, ++nCyanNear) : (cyanFar += col, ++nCyanFar));
        }
    EXPECT_GT(white, 100);
    EXPECT_EQ(other, 0);
    ASSERT_GT(nRedNear * nCyanNear * nRedFar * nCyanFar, 0);
    EXPECT_GT(redNear / nRedNear, cyanNear / nCyanNear + 1.0);
    EXPECT_LT(redFar / nRedFar, cyanFar / nCyanFar - 1.0);
}

TEST(Anaglyph, SwappingTheEyesExchangesRedAndCyanWithHiddenLinesAndDepthCueToo)
{
    FrameStyle stereo;
    stereo.anaglyph = true;
    stereo.hiddenLines = true;
    stereo.depthCue = true;
    FrameStyle swapped = stereo;
    swapped.swapEyes = true;
    const RasterCanvas a = Picture(kSine, stereo), b = Picture(kSine, swapped);
    long long differing = 0;
    for (int row = 1; row < kCanvasSide - 1; ++row)
        for (int col = 1; col < kCanvasSide - 1; ++col) {
            const Rgb ca = ColourAt(a, col, row), cb = ColourAt(b, col, row);
            ASSERT_EQ(cb, (Rgb{ca.g, ca.r, ca.r})) << col << "," << row;
            ASSERT_EQ(ca.g, ca.b);
            differing += !(ca == cb);
        }
    EXPECT_GT(differing, 1000);
}

TEST(Parallel, ThePictureIsTheSameAtEveryDistanceAndKeepsTheFirstViewsSize)
{
    FrameStyle parallel;
    parallel.parallel = true;
    for (SurfaceKind kind : {kSphere, kTorus, kSpiralStair}) {
        const RasterCanvas at300 = Picture(kind, parallel), at60 = Picture(kind, parallel, 60.0);
        EXPECT_EQ(0, std::memcmp(at300.Bits(), at60.Bits(), 500 * 502 * 4)) << kind;
        EXPECT_NE(0, std::memcmp(Picture(kind, {}, 60.0).Bits(), Picture(kind, {}).Bits(), 500 * 502 * 4));
    }
    auto width = [](const RasterCanvas& picture) {   // the columns the sphere spans
        int left = kCanvasSide, right = -1;
        for (int row = 1; row < kCanvasSide - 1; ++row)
            for (int col = 1; col < kCanvasSide - 1; ++col)
                if (picture.PixelAt(col, row) & 0xFF) {
                    left = std::min(left, col);
                    right = std::max(right, col);
                }
        return right - left;
    };
    const int perspective = width(Picture(kSphere, {})), flat = width(Picture(kSphere, parallel));
    EXPECT_NEAR(flat, perspective, perspective * 0.02);
}

TEST(Facets, EveryBuiltinSurfaceIsCoveredWhereItCloses)
{
    auto area = [](const Wireframe& wire) {
        double sum = 0;
        for (size_t i = 0; i + 2 < wire.triangles.size(); i += 3) {
            const Vec3 a = wire.Point(wire.triangles[i]), b = wire.Point(wire.triangles[i + 1]),
                       c = wire.Point(wire.triangles[i + 2]);
            sum += 0.5 * VecLength(VecCross(VecSub(b, a), VecSub(c, a)));
        }
        return sum;
    };
    const double pi = std::acos(-1.0);
    EXPECT_NEAR(area(BuiltinWireframe(kSphere)), 4 * pi * 35 * 35, 0.02 * 4 * pi * 35 * 35);
    EXPECT_NEAR(area(BuiltinWireframe(kTorus)), 4 * pi * pi * 30 * 10, 0.02 * 4 * pi * pi * 30 * 10);
    for (SurfaceKind kind = 1; kind <= kBuiltinSurfaceCount; ++kind) {
        const Wireframe& wire = BuiltinWireframe(kind);
        EXPECT_EQ(wire.triangles.size() % 3, 0u);
        EXPECT_GT(wire.triangles.size(), 300u) << kind;
        for (const std::uint32_t i : wire.triangles)
            ASSERT_LT(i, wire.Size());
    }
    // The staircases: one quad between consecutive steps of a flight, none between the flights.
    EXPECT_EQ(BuiltinWireframe(kSpiralStair).triangles.size(), 3u * 2 * 254);
    EXPECT_EQ(BuiltinWireframe(kLeonardoStair).triangles.size(), 3u * 2 * (254 + 254));
}

}   // namespace
