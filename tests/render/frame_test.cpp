// A frame's order of drawing and its picture.
#include "geometry/view_changes.h"
#include "render/frame.h"
#include "render/raster_canvas.h"
#include "render/recording_canvas.h"
#include "render/svg_canvas.h"
#include "surfaces/registry.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Op = CanvasCall::Op;

TEST(Frame, DrawsSquareThenUpdatesCameraThenSurfaceInBlue)
{
    ViewState view;
    ResetViewState(view);
    view.surface = kSphere;
    RecordingCanvas canvas;
    RenderNextFrame(view, canvas);
    ASSERT_GE(canvas.calls.size(), 4u);
    EXPECT_EQ(canvas.calls[0], (CanvasCall{Op::SelectPen, {}, {}, kBorderWhite}));
    EXPECT_EQ(canvas.calls[1], (CanvasCall{Op::Rectangle, {0, 0}, {500, 500}, kBackgroundBlack}));
    EXPECT_EQ(canvas.calls[2], (CanvasCall{Op::SelectPen, {}, {}, kSurfaceBlue}));
    EXPECT_EQ(canvas.calls[3].op, Op::MoveTo);
    EXPECT_EQ(canvas.calls.size(), 3u + 19 + 703);
    EXPECT_NE(view.right.x, 0.0);   // the basis was computed before the surface was projected
}

TEST(Frame, DrawingReadsItsCameraAloneSoTheSameCameraGivesTheSameFrame)
{
    ViewState view;
    ResetViewState(view);
    view.surface = kTorus;
    const Wireframe& wire = BuiltinWireframe(kTorus);
    const Camera camera = BeginFrame(view, wire);
    RecordingCanvas first, again;
    DrawFrame(camera, wire, first);
    OrbitEye(view, {0, 0}, {120, -40});   // the view moves on; the frame's camera does not
    BeginFrame(view, wire);
    DrawFrame(camera, wire, again);
    EXPECT_EQ(first.calls, again.calls);
}

TEST(Frame, NoSurfaceOrAnUnknownOneDrawsTheSquareAlone)
{
    for (int kind : {0, SurfaceRegistry().Count() + 1, -5}) {
        ViewState view;
        view.surface = kind;
        RecordingCanvas canvas;
        RenderNextFrame(view, canvas);
        EXPECT_EQ(canvas.calls.size(), 3u) << kind;
    }
}

TEST(Frame, PictureShowsTheSurfaceInsideTheFramedSquare)
{
    ViewState view;
    ResetViewState(view);
    view.surface = kTorus;
    RasterCanvas picture;
    RenderNextFrame(view, picture);
    EXPECT_EQ(picture.PixelAt(0, 0), PackPixel(kBorderWhite));
    EXPECT_EQ(picture.PixelAt(5, 5), PackPixel(kBackgroundBlack));
    int blue = 0;
    for (int row = 0; row < 500; ++row)
        for (int col = 0; col < 500; ++col)
            blue += picture.PixelAt(col, row) == PackPixel(kSurfaceBlue);
    EXPECT_GT(blue, 5000);
    EXPECT_EQ(picture.PixelAt(250, 250), PackPixel(kBackgroundBlack));   // the torus's hole
}

TEST(Frame, SvgHasTheSquareAndOnePathOfBlueLines)
{
    ViewState view;
    ResetViewState(view);
    view.surface = kSaddle;
    SvgCanvas svg;
    RenderNextFrame(view, svg);
    const std::string doc = svg.Document();
    EXPECT_NE(doc.find("viewBox=\"0 0 500 500\""), std::string::npos);
    EXPECT_NE(doc.find("<rect x=\"0.5\" y=\"0.5\" width=\"499\" height=\"499\" fill=\"#000000\" stroke=\"#ffffff\""),
              std::string::npos);
    EXPECT_NE(doc.find("stroke=\"#0000ff\""), std::string::npos);
    size_t moves = 0;
    for (size_t at = doc.find('M'); at != std::string::npos; at = doc.find('M', at + 1))
        ++moves;
    EXPECT_EQ(moves, 50u);
}

TEST(SvgCanvas, WritesPixelCentresOfNegativeCoordinates)
{
    SvgCanvas svg;
    svg.SelectPen(kSurfaceBlue);
    svg.MoveTo({-3, -1});
    svg.LineTo({-2147483647 - 1, 2147483647});
    EXPECT_NE(svg.Document().find("d=\"M-2.5 -0.5L-2147483647.5 2147483647.5\""), std::string::npos);
}

}   // namespace
