// Drawing a frame in the format asked for and encoding it onto a stream.
#include "export/frame_encoder.h"

#if VEXILON_HAS_CAIRO
#include "export/figure_cairo.h"
#else
#include "export/figure_document.h"
#endif
#include "export/figure_letters.h"
#include "export/figure_text_formats.h"
#include "export/gif_encoder.h"
#include "export/png_encoder.h"
#include "render/frame.h"
#include "render/svg_canvas.h"

#include <algorithm>

namespace {

// A figure of the frame's own size and no title onto the frame's picture, for a GIF.
void CopyToFrame(const FigurePicture& figure, IndexedCanvas& picture)
{
    picture.Clear(figure.palette[figure.indices[0]]);
    for (int row = 0; row < std::min(figure.height, kCanvasSide); ++row)
        for (int col = 0; col < std::min(figure.width, kCanvasSide); ++col) {
            const Rgb colour = figure.ColourAt(col, row);
            if (colour == figure.palette[figure.indices[0]])
                continue;
            picture.SelectPen(colour);
            picture.MoveTo({col, row});
            picture.LineTo({col, row});
        }
}

}   // namespace

void FrameEncoder::Draw(const Camera& camera, const Wireframe& wire, const FrameStyle& style)
{
    const bool raster = m_format == OutputFormat::Png || m_format == OutputFormat::Gif;
    const FramePipeline pipeline = PipelineFor(style, raster, IsFigureFormat(m_format));
    if (pipeline == FramePipeline::Recoloured) {
        DrawRecolouredFrame(camera, wire, style, m_picture, m_framePalette);
        m_drewFigure = false;
        return;
    }
    if (!m_framePalette.empty()) {   // the frame's own palette again, as the last frame drew it
        m_picture.SetPalette(m_framePalette);
        m_framePalette.clear();
    }
    m_drewFigure = pipeline == FramePipeline::Figure;
    if (m_drewFigure) {
        BuildFigure(camera, wire, style, m_figure);
        switch (m_format) {
        case OutputFormat::Svg: m_text = FigureSvg(m_figure); break;
        case OutputFormat::Tikz: m_text = FigureTikz(m_figure); break;
        case OutputFormat::Png:
        case OutputFormat::Gif:
            RasterizeFigure(m_figure, m_figurePicture);
#if VEXILON_HAS_CAIRO
            DrawFigureTexts(m_figure, m_figurePicture);
#else
            DrawFigureLetters(m_figure, m_figurePicture);
#endif
            DrawFigureLabels(m_figure, m_figurePicture);
            // A figure of the frame's size keeps the frame's palette and bytes; any other goes as it is.
            if (m_format == OutputFormat::Gif && !GifOfFigure())
                CopyToFrame(m_figurePicture, m_picture);
            break;
        default: break;   // the trace, the PDF and the EPS are made as they are written
        }
        if (m_format != OutputFormat::Trace)
            return;
    }
    switch (m_format) {
    case OutputFormat::Png:
    case OutputFormat::Gif: DrawFrame(camera, wire, style, m_picture); break;
    case OutputFormat::Svg: {
        SvgCanvas svg;
        DrawFrame(camera, wire, style, svg);
        m_text = svg.Document();
        break;
    }
    case OutputFormat::Trace:
        m_recording.calls.clear();
        DrawFrame(camera, wire, style, m_recording);
        m_text = FormatTrace(m_recording.calls);
        break;
    default: break;
    }
}

bool FrameEncoder::GifOfFigure() const
{
    return m_drewFigure && (m_figurePicture.width != kCanvasSide || m_figurePicture.height != kCanvasSide);
}

bool FrameEncoder::AddTo(GifEncoder& gif) const
{
    return GifOfFigure() ? gif.AddFrame(m_figurePicture) : gif.AddFrame(m_picture);
}

bool FrameEncoder::Write(std::FILE* file) const
{
#if VEXILON_HAS_CAIRO
    if (m_format == OutputFormat::Pdf)
        return WriteFigurePdf(file, m_figure);
    if (m_format == OutputFormat::Eps)
        return WriteFigureEps(file, m_figure);
#else
    if (m_format == OutputFormat::Pdf)
        return WriteFigurePdfDirect(file, m_figure);
    if (m_format == OutputFormat::Eps)
        return WriteFigureEpsDirect(file, m_figure);
#endif
    if (m_format == OutputFormat::Png && m_drewFigure)
        return WritePng(file, m_figurePicture);
    if (m_format == OutputFormat::Png)
        return WritePng(file, m_picture);
    if (m_format == OutputFormat::Gif && GifOfFigure())
        return WriteGif(file, m_figurePicture);
    if (m_format == OutputFormat::Gif)
        return WriteGif(file, m_picture);
    return std::fwrite(m_text.data(), 1, m_text.size(), file) == m_text.size();
}
