// Drawing a figure's paths into its picture.
#include "render/figure_picture.h"

#include <algorithm>
#include <cmath>

#include "render/line_walk.h"
#include "render/pixel_mapping.h"
#include "render/stroke_pen.h"

namespace {

Rgb Blend(Rgb present, Rgb pen, FigureBlend blend)
{
    if (blend == FigureBlend::Lighten)
        return {std::max(present.r, pen.r), std::max(present.g, pen.g), std::max(present.b, pen.b)};
    if (blend == FigureBlend::Darken)
        return {std::min(present.r, pen.r), std::min(present.g, pen.g), std::min(present.b, pen.b)};
    return pen;
}

class PathPainter {
public:
    PathPainter(const Figure& figure, FigurePicture& picture) : m_figure(figure), m_picture(picture) {}

    void Paint(const FigurePath& path, const FigureLayer& layer)
    {
        m_blend = layer.blend;
        m_width = m_figure.WidthOf(layer);
        m_pen = m_picture.IndexOf(path.colour);
        m_colour = path.colour;
        double along = 0.0;   // pixels of the path before this segment, for its dashes
        for (size_t i = 0; i + 1 < path.points.size(); ++i) {
            const FigurePoint a = path.points[i], b = path.points[i + 1];
            Segment(a, b, path.dashed, along);
            along += std::hypot(b.x - a.x, b.y - a.y);
        }
    }

private:
    void Segment(FigurePoint a, FigurePoint b, bool dashed, double along)
    {
        const Pixel from{TruncateToPixel(a.x), TruncateToPixel(a.y)}, to{TruncateToPixel(b.x), TruncateToPixel(b.y)};
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        const double period = m_figure.dashOn + m_figure.dashOff;
        const int width = m_width;
        const bool xMajor = std::llabs(static_cast<long long>(to.col) - from.col) >=
                            std::llabs(static_cast<long long>(to.row) - from.row);
        for (int pass = 0; pass < width; ++pass) {
            const int o = WidthOffset(width, pass);
            const Pixel f{from.col + (xMajor ? 0 : o), from.row + (xMajor ? o : 0)};
            const Pixel t{to.col + (xMajor ? 0 : o), to.row + (xMajor ? o : 0)};
            WalkLine(f, t, m_picture.width, m_picture.height, [&](long long i, long long col, long long row, long long major) {
                if (col < 0 || row < 0 || col >= m_picture.width || row >= m_picture.height)
                    return;
                if (dashed && major > 0 && std::fmod(along + length * static_cast<double>(i) / major, period) >= m_figure.dashOn)
                    return;
                Put(static_cast<std::size_t>(row) * static_cast<std::size_t>(m_picture.width) + static_cast<std::size_t>(col));
            });
        }
    }

    void Put(std::size_t at)
    {
        std::uint8_t& pixel = m_picture.indices[at];
        if (m_blend == FigureBlend::Over)
            pixel = m_pen;
        else
            pixel = m_picture.IndexOf(Blend(m_picture.palette[pixel], m_colour, m_blend));
    }

    const Figure&  m_figure;
    FigurePicture& m_picture;
    FigureBlend    m_blend = FigureBlend::Over;
    int            m_width = 1;
    std::uint8_t   m_pen = 0;
    Rgb            m_colour;
};

}   // namespace

std::uint8_t FigurePicture::IndexOf(Rgb colour)
{
    for (size_t i = 0; i < palette.size(); ++i)
        if (palette[i] == colour)
            return static_cast<std::uint8_t>(i);
    if (palette.size() < 256)
        palette.push_back(colour);
    return static_cast<std::uint8_t>(palette.size() - 1);
}

void RasterizeFigure(const Figure& figure, FigurePicture& out)
{
    out.width = figure.width;
    out.height = figure.height;
    out.palette.clear();
    out.indices.assign(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height), out.IndexOf(figure.background));
    if (figure.hasOutline) {
        const std::uint8_t outline = out.IndexOf(figure.outline);
        const int top = static_cast<int>(figure.top), last = figure.side - 1;
        for (int i = 0; i < figure.side; ++i) {
            for (const int row : {top, top + last})
                out.indices[static_cast<std::size_t>(row) * out.width + i] = outline;
            for (const int col : {0, last})
                out.indices[static_cast<std::size_t>(top + i) * out.width + col] = outline;
        }
    }
    PathPainter painter(figure, out);
    for (const FigureLayer& layer : figure.layers)
        for (const FigurePath& path : layer.paths)
            painter.Paint(path, layer);
}
