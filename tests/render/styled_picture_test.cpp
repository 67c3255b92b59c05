// Styled frames on both pictures: the shortcuts a picture takes draw what strokes would draw.
#include "geometry/view_changes.h"
#include "render/frame.h"
#include "render/raster_canvas.h"
#include "surfaces/registry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

namespace {

Camera CloseView(SurfaceKind kind, double distance)
{
    ViewState view;
    ResetViewState(view);
    view.surface = kind;
    const Wireframe& wire = BuiltinWireframe(kind);
    BeginFrame(view, wire);
    SetEyeDistance(view, distance);
    return BeginFrame(view, wire);
}

std::uint32_t Packed(const IndexedCanvas& picture, int col, int row)
{
    return PackPixel(picture.Palette()[picture.PixelAt(col, row)]);
}

TEST(StyledPicture, TheStereoOutlineStaysWhiteWhereTheLinesCrossIt)
{
    const Wireframe& wire = BuiltinWireframe(kSine);
    const Camera camera = CloseView(kSine, 60.0);   // near: the surface runs past the square
    FrameStyle stereo;
    stereo.anaglyph = true;
    RasterCanvas picture;
    DrawFrame(camera, wire, stereo, picture);
    long long inkNextToOutline = 0;
    for (int i = 0; i < kCanvasSide; ++i) {
        for (const auto& [col, row] : {std::pair{i, 0}, std::pair{i, kCanvasSide - 1}, std::pair{0, i},
                                      std::pair{kCanvasSide - 1, i}})
            ASSERT_EQ(picture.PixelAt(col, row), PackPixel(kBorderWhite)) << col << "," << row;
        inkNextToOutline += (picture.PixelAt(i, 1) & 0xFFFFFF) != 0;
    }
    EXPECT_GT(inkNextToOutline, 10);   // lines do reach the outline
}

TEST(StyledPicture, TheIndexedPictureShowsTheColoursOfTheWindowsPictureInEveryStyle)
{
    const Wireframe& wire = BuiltinWireframe(kTorus);
    const Camera camera = CloseView(kTorus, 150.0);
    for (int styleBits = 1; styleBits < 8; ++styleBits) {
        FrameStyle style;
        style.hiddenLines = styleBits & 1;
        style.depthCue = styleBits & 2;
        style.anaglyph = styleBits & 4;
        RasterCanvas window;
        IndexedCanvas file;
        DrawFrame(camera, wire, style, window);
        DrawFrame(camera, wire, style, file);
        for (int row = 0; row < kPictureRows; ++row)
            for (int col = 0; col < kCanvasSide; ++col)
                ASSERT_EQ(Packed(file, col, row), window.PixelAt(col, row)) << styleBits << ": " << col << "," << row;
    }
}

}   // namespace
