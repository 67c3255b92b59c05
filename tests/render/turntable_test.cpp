// The cameras of a turn: from the first frame's record alone, about its up, in equal steps.
#include "geometry/view_changes.h"
#include "render/frame.h"
#include "render/turntable.h"
#include "surfaces/registry.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

bool SameBits(const Camera& a, const Camera& b)
{
    auto same = [](Vec3 p, Vec3 q) { return std::memcmp(&p, &q, sizeof p) == 0; };
    return same(a.eye, b.eye) && same(a.planePoint, b.planePoint) && same(a.normal, b.normal) &&
           same(a.right, b.right) && same(a.up, b.up) && a.zoom == b.zoom;
}

// The record after the first frame's camera step of a view turned away from the reset one.
ViewState FirstFrame(Camera& camera)
{
    ViewState view;
    ResetViewState(view);
    view.surface = kTorus;
    const Wireframe& wire = BuiltinWireframe(kTorus);
    BeginFrame(view, wire);
    OrbitEye(view, {0, 0}, {40, -90});
    SetZoom(view, 61.0);
    camera = BeginFrame(view, wire);
    return view;
}

TEST(Turntable, FrameZeroIsTheFirstFramesOwnCamera)
{
    Camera camera;
    const ViewState first = FirstFrame(camera);
    const Wireframe& wire = BuiltinWireframe(kTorus);
    EXPECT_TRUE(SameBits(TurnFrameCamera(first, wire, 0, 36), camera));
    EXPECT_TRUE(SameBits(TurnFrameCamera(first, wire, 36, 36), camera));   // a whole turn comes back
}

TEST(Turntable, EachFrameComesFromTheFirstNotFromItsNeighbour)
{
    Camera camera;
    const ViewState first = FirstFrame(camera);
    const Wireframe& wire = BuiltinWireframe(kTorus);
    // The same angle reached as k of n and 2k of 2n: the same bits, so no step adds up an error.
    for (int k = 1; k < 36; ++k)
        EXPECT_TRUE(SameBits(TurnFrameCamera(first, wire, k, 36), TurnFrameCamera(first, wire, 2 * k, 72))) << k;
    EXPECT_FALSE(SameBits(TurnFrameCamera(first, wire, 1, 36), camera));
}

TEST(Turntable, EyeCirclesTheFirstUpAtItsDistanceAndUpStays)
{
    Camera camera;
    const ViewState first = FirstFrame(camera);
    const Wireframe& wire = BuiltinWireframe(kTorus);
    const Vec3 start = VecSub(camera.eye, first.target);
    const double height = VecDot(start, camera.up);
    for (int k = 1; k < 8; ++k) {
        const Camera c = TurnFrameCamera(first, wire, k, 8);
        const Vec3 eye = VecSub(c.eye, first.target);
        EXPECT_NEAR(VecLength(eye), VecLength(start), 1e-9) << k;
        EXPECT_NEAR(VecDot(eye, camera.up), height, 1e-9) << k;
        EXPECT_NEAR(VecDot(c.up, camera.up), 1.0, 1e-12) << k;   // the picture's vertical stays vertical
        EXPECT_EQ(c.zoom, 61.0);
    }
    // A quarter turn puts the eye where the first frame's right pointed.
    const Vec3 quarter = VecSub(TurnFrameCamera(first, wire, 2, 8).eye, first.target);
    EXPECT_NEAR(VecDot(VecNormalize(VecSub(quarter, VecScale(height, camera.up))), camera.right), 1.0, 1e-12);
}

}   // namespace
