// The prepared wireframes against tracing afresh: the same calls and the same pixels, every view.
#include "geometry/view_changes.h"
#include "render/frame.h"
#include "render/raster_canvas.h"
#include "render/recording_canvas.h"
#include "tests/support/canvas_tracer.h"
#include "surfaces/registry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

// Bit for bit, NaNs included, the fields that a frame writes.
bool SameFrameState(const ViewState& a, const ViewState& b)
{
    auto same = [](Vec3 u, Vec3 v) { return std::memcmp(&u, &v, sizeof u) == 0; };
    return same(a.scratch, b.scratch) && same(a.planeHit, b.planeHit) && same(a.planePoint, b.planePoint) &&
           same(a.right, b.right) && same(a.up, b.up) && same(a.upCrossN, b.upCrossN) && same(a.normal, b.normal);
}

std::vector<ViewState> Views()
{
    std::vector<ViewState> views;
    ViewState view;
    ResetViewState(view);
    views.push_back(view);
    auto add = [&](auto change) {
        ViewState v = views.back();
        UpdateCameraBasis(v);
        change(v);
        views.push_back(v);
    };
    add([](ViewState& v) { OrbitEye(v, {0, 0}, {100, 0}); });
    add([](ViewState& v) { OrbitEye(v, {0, 0}, {-37, 410}); });
    add([](ViewState& v) { SetZoom(v, 100.0); });
    add([](ViewState& v) { SetEyeDistance(v, 20.0); });   // lines far outside the square
    add([](ViewState& v) { SetZoom(v, 0.0); });
    add([](ViewState& v) { v.eye = {3.0, -2.0, 1.0}; });   // the eye inside the surfaces
    add([](ViewState& v) { v.eye = {0.0, 0.0, 90.0}; });   // straight above: a NaN basis
    ResetViewState(view);
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> travel(-300, 300);
    for (int i = 0; i < 6; ++i) {
        UpdateCameraBasis(view);
        OrbitEye(view, {0, 0}, {travel(random), travel(random)});
        views.push_back(view);
    }
    return views;
}

TEST(FastPath, ReplaysTheSameCallsAsTracingAfresh)
{
    // None, the eight, and a number no surface has (9 may be the gallery's first, when another
    // test in this process has read it).
    std::vector<SurfaceKind> kinds{kSurfaceNone, 9999};
    for (SurfaceKind kind = 1; kind <= kBuiltinSurfaceCount; ++kind)
        kinds.push_back(kind);
    for (const SurfaceKind kind : kinds) {
        int index = 0;
        for (ViewState view : Views()) {
            view.surface = kind;
            ViewState direct = view;
            RecordingCanvas fast, reference;
            RenderNextFrame(view, fast);
            reference.SelectPen(kBorderWhite);
            reference.Rectangle(0, 0, kCanvasSide, kCanvasSide, kBackgroundBlack);
            UpdateCameraBasis(direct);
            reference.SelectPen(kSurfaceBlue);
            TraceSurface(direct, reference);
            EXPECT_EQ(fast.calls, reference.calls) << "surface " << kind << ", view " << index;
            EXPECT_TRUE(SameFrameState(view, direct)) << "surface " << kind << ", view " << index;
            ++index;
        }
    }
}

TEST(FastPath, PictureEqualsTheCallsDrawnThroughTheCanvasInterface)
{
    for (SurfaceKind kind = 1; kind <= kBuiltinSurfaceCount; ++kind) {
        for (ViewState view : Views()) {
            view.surface = kind;
            ViewState copy = view;
            RasterCanvas fast, generic;
            fast.Clear(kSurfaceBlue);   // the hidden rows must be cleared by the frame
            RenderNextFrame(view, fast);
            Canvas& asCanvas = generic;
            RenderNextFrame(copy, asCanvas);
            EXPECT_EQ(std::memcmp(fast.Bits(), generic.Bits(), sizeof(std::uint32_t) * 500 * 502), 0)
                << "surface " << kind;
            // The pen is left where the last line-to left it: a line drawn on starts there.
            fast.LineTo({123, 456});
            asCanvas.LineTo({123, 456});
            EXPECT_EQ(std::memcmp(fast.Bits(), generic.Bits(), sizeof(std::uint32_t) * 500 * 502), 0)
                << "surface " << kind << ", a line drawn after the frame";
        }
    }
}

TEST(FastPath, WireframeIsBuiltOnceAndEmptyForUnknownKinds)
{
    EXPECT_EQ(&BuiltinWireframe(kTorus), &BuiltinWireframe(kTorus));
    EXPECT_EQ(BuiltinWireframe(kTorus).Size(), 91u * 91u);
    EXPECT_EQ(BuiltinWireframe(kSpiralStair).Size(), 2u * 255u);   // each step's points once
    EXPECT_TRUE(BuiltinWireframe(0).ops.empty());
    EXPECT_TRUE(BuiltinWireframe(42).Size() == 0);
}

}   // namespace
