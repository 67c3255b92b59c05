// The shown frame's picture in style, for a front end's square: the frame itself, recoloured, or
// the figure of its options.
#include <algorithm>

#if VEXILON_HAS_CAIRO
#include "export/figure_cairo.h"
#endif
#include "render/figure.h"
#include "render/figure_picture.h"
#include "render/frame.h"
#include "render/theme.h"
#include "session/view_session.h"

namespace {

// The figure of style at its own size with its texts, kept for the next frame's drawing.
const FigurePicture& ShownFigure(const Camera& camera, const Wireframe& wire, const FrameStyle& style)
{
    thread_local Figure figure;
    thread_local FigurePicture pixels;
    BuildFigure(camera, wire, style, figure);
    RasterizeFigure(figure, pixels);
#if VEXILON_HAS_CAIRO
    DrawFigureTexts(figure, pixels);
#endif
    return pixels;
}

}   // namespace

void DrawShownFrame(const Camera& camera, const Wireframe& wire, const FrameStyle& style, RasterCanvas& picture)
{
    if (!style.IsFigure()) {
        DrawFrame(camera, wire, style, picture);
        return;
    }
    FrameStyle square = style;   // the window's square whatever the size saved last
    square.size = kCanvasSide;
    square.title.clear();
    if (IsRecolouredFrame(square)) {
        DrawFrame(camera, wire, FrameOnly(square), picture);
        std::uint32_t* bits = picture.Bits();
        std::uint32_t from = 0, to = 0;   // the last colour changed: lines come in runs of one colour
        bool known = false;
        for (size_t i = 0; i < static_cast<size_t>(kCanvasSide) * kCanvasSide; ++i) {
            if (!known || bits[i] != from) {
                from = bits[i];
                to = PackPixel(ThemedColour({std::uint8_t(from >> 16), std::uint8_t(from >> 8), std::uint8_t(from)}, square));
                known = true;
            }
            bits[i] = to;
        }
        return;
    }
    const FigurePicture& pixels = ShownFigure(camera, wire, square);
    picture.ClearHiddenRows();
    std::uint32_t* bits = picture.Bits();
    for (size_t i = 0; i < pixels.indices.size(); ++i)
        bits[i] = PackPixel(pixels.palette[pixels.indices[i]]);
}

void DrawShownFrame(const Camera& camera, const Wireframe& wire, const FrameStyle& style, int side,
                    std::vector<std::uint32_t>& picture)
{
    FrameStyle square = style;
    square.size = std::clamp(side, kPictureSizeMin, kPictureSizeMax);
    square.title.clear();
    const FigurePicture& pixels = ShownFigure(camera, wire, square);
    picture.resize(pixels.indices.size());
    std::uint32_t packed[256];   // the palette once, not a pixel at a time
    for (size_t i = 0; i < pixels.palette.size() && i < 256; ++i)
        packed[i] = PackPixel(pixels.palette[i]);
    for (size_t i = 0; i < pixels.indices.size(); ++i)
        picture[i] = packed[pixels.indices[i]];
}
