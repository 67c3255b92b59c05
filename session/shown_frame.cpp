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
const FigurePicture& RasterizedFigure(const Camera& camera, const Wireframe& wire, const FrameStyle& style)
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
    FrameStyle square = style;   // the window's square whatever the size saved last
    square.size = kCanvasSide;
    square.title.clear();
    // A figure's style stays a figure in the square, whatever of it the square leaves out.
    switch (PipelineFor(square, true, style.IsFigure())) {
    case FramePipeline::Plain:
    case FramePipeline::Styled: DrawFrame(camera, wire, style, picture); return;
    case FramePipeline::Recoloured: DrawRecolouredFrame(camera, wire, square, picture); return;
    case FramePipeline::Figure: break;
    }
    const FigurePicture& pixels = RasterizedFigure(camera, wire, square);
    picture.ClearHiddenRows();
    std::uint32_t* bits = picture.Bits();
    for (size_t i = 0; i < pixels.indices.size(); ++i)
        bits[i] = PackPixel(pixels.palette[pixels.indices[i]]);
}

const FigurePicture& ShownFigure(const Camera& camera, const Wireframe& wire, const FrameStyle& style, int side)
{
    FrameStyle square = style;
    square.size = std::clamp(side, kPictureSizeMin, kPictureSizeMax);
    square.title.clear();
    return RasterizedFigure(camera, wire, square);
}

void DrawShownFrame(const Camera& camera, const Wireframe& wire, const FrameStyle& style, int side,
                    std::vector<std::uint32_t>& picture)
{
    const FigurePicture& pixels = ShownFigure(camera, wire, style, side);
    picture.resize(pixels.indices.size());
    std::uint32_t packed[256];   // the palette once, not a pixel at a time
    for (size_t i = 0; i < pixels.palette.size() && i < 256; ++i)
        packed[i] = PackPixel(pixels.palette[i]);
    for (size_t i = 0; i < pixels.indices.size(); ++i)
        picture[i] = packed[pixels.indices[i]];
}
