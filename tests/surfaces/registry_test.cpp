// The surface registry: the eight built-in surfaces, surfaces added at run time, and their wireframes.
#include "render/frame.h"
#include "render/recording_canvas.h"
#include "surfaces/registry.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A square of four samples on one line, in world units.
Wireframe Square()
{
    WireframeRecorder recorder;
    recorder.Sample({-10.0, -10.0, 0.0}, true);
    recorder.Sample({10.0, -10.0, 0.0}, false);
    recorder.Sample({10.0, 10.0, 0.0}, false);
    recorder.Sample({-10.0, 10.0, 0.0}, false);
    return recorder.Take();
}

TEST(Registry, HoldsTheEightInTheirOrderWithIdsAndCaptions)
{
    const SurfaceRegistry registry;
    ASSERT_EQ(registry.Count(), kBuiltinSurfaceCount);
    EXPECT_EQ(registry.Find(kMoebius)->id, "moebius");
    EXPECT_EQ(registry.Find(kPseudosphere)->id, "pseudoesfera");
    EXPECT_EQ(registry.Find(kLeonardoStair)->caption, "Escalera de Leonardo");
    for (SurfaceKind kind = 1; kind <= kBuiltinSurfaceCount; ++kind)
        EXPECT_EQ(registry.Find(kind)->number, kind);
    EXPECT_EQ(registry.Find(0), nullptr);
    EXPECT_EQ(registry.Find(9), nullptr);
    EXPECT_EQ(registry.Find(-1), nullptr);
}

TEST(Registry, FindsIdsInAnyCaseAndNothingElse)
{
    const SurfaceRegistry registry;
    EXPECT_EQ(registry.FindId("TORO")->number, kTorus);
    EXPECT_EQ(registry.FindId("Silla")->number, kSaddle);
    EXPECT_EQ(registry.FindId("tor"), nullptr);
    EXPECT_EQ(registry.FindId(""), nullptr);
    EXPECT_EQ(registry.FindId("5"), nullptr);
}

TEST(Registry, AddsAfterTheEightAndRefusesTakenOrEmptyIds)
{
    SurfaceRegistry registry;
    EXPECT_EQ(registry.Add("Cuadrado", "Un cuadrado", Square), kBuiltinSurfaceCount + 1);
    EXPECT_EQ(registry.FindId("cuadrado")->number, kBuiltinSurfaceCount + 1);
    EXPECT_EQ(registry.Add("CUADRADO", "otra vez", Square), kSurfaceNone);
    EXPECT_EQ(registry.Add("toro", "otro toro", Square), kSurfaceNone);
    EXPECT_EQ(registry.Add("", "sin nombre", Square), kSurfaceNone);
    EXPECT_EQ(registry.Count(), kBuiltinSurfaceCount + 1);
    EXPECT_EQ(registry.Entries().back()->caption, "Un cuadrado");
}

TEST(Registry, TracesEachSurfaceOnceAndKeepsItsWireframe)
{
    SurfaceRegistry registry;
    int traced = 0;
    const SurfaceKind kind = registry.Add("contado", "", [&traced] {
        ++traced;
        return Square();
    });
    EXPECT_EQ(traced, 0);   // nothing is traced before it is drawn
    const Wireframe& first = registry.WireframeOf(kind);
    EXPECT_EQ(&registry.WireframeOf(kind), &first);
    EXPECT_EQ(traced, 1);
    EXPECT_EQ(first.Size(), 4u);
    EXPECT_EQ(registry.WireframeOf(kTorus).Size(), 91u * 91u);
    EXPECT_EQ(registry.WireframeOf(77).Size(), 0u);
}

TEST(Registry, AnAddedSurfaceIsDrawnThroughTheFrameLikeTheEight)
{
    SurfaceRegistry registry;
    const SurfaceKind kind = registry.Add("cuadrado-de-prueba", "Cuadrado", Square);
    ASSERT_NE(kind, kSurfaceNone);
    ViewState view;
    view.eye = {0.0, 0.0, 300.0};
    view.up = {0.0, 1.0, 0.0};
    view.zoom = 20.0;
    view.surface = kind;
    RecordingCanvas canvas;
    const Wireframe& wire = registry.WireframeOf(kind);
    DrawFrame(BeginFrame(view, wire), wire, canvas);
    ASSERT_EQ(canvas.calls.size(), 3u + 1 + 4);   // square, pen, one move and four line-tos
    EXPECT_EQ(canvas.calls[3].op, CanvasCall::Op::MoveTo);
    // From straight above at 300 the plane stands at 280: 10 units become 10 * 20/300 * 20 px.
    EXPECT_EQ(canvas.calls[4].p, (Pixel{236, 263}));
    EXPECT_EQ(canvas.calls[6].p, (Pixel{263, 236}));
}

}   // namespace
