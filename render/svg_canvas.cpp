// SVG output of a frame. Pixel (c, r) is the unit square at (c, r), so lines run through
// pixel centres (+0.5); square caps make a zero-length line a one-pixel dot, as on the picture.
#include "render/svg_canvas.h"

#include <cstdio>
#include <string>

namespace {

std::string Colour(Rgb c)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.r, c.g, c.b);
    return text;
}

std::string CentreOf(int v)
{
    // Written from twice the centre, an odd integer, so that every int is exact: -3 gives -2.5.
    const long long centre2 = 2LL * v + 1;
    return (centre2 < 0 ? "-" : "") + std::to_string((centre2 < 0 ? -centre2 : centre2) / 2) + ".5";
}

}   // namespace

void SvgCanvas::SelectPen(Rgb colour)
{
    ClosePath();
    m_pen = colour;
}

void SvgCanvas::MoveTo(Pixel p)
{
    m_position = p;
    m_path += "M" + CentreOf(p.col) + " " + CentreOf(p.row);
}

void SvgCanvas::LineTo(Pixel p)
{
    if (m_path.empty())
        m_path += "M" + CentreOf(m_position.col) + " " + CentreOf(m_position.row);
    m_path += "L" + CentreOf(p.col) + " " + CentreOf(p.row);
    m_position = p;
}

void SvgCanvas::Rectangle(int left, int top, int right, int bottom, Rgb fill)
{
    ClosePath();
    const long long width = static_cast<long long>(right) - left, height = static_cast<long long>(bottom) - top;
    if (width <= 0 || height <= 0)
        return;
    // Outline centred one half pixel inside the bounds, so fill and outline cover them exactly.
    m_body += "<rect x=\"" + CentreOf(left) + "\" y=\"" + CentreOf(top) + "\" width=\"" +
              std::to_string(width - 1) + "\" height=\"" + std::to_string(height - 1) + "\" fill=\"" +
              Colour(fill) + "\" stroke=\"" + Colour(m_pen) + "\" stroke-width=\"1\"/>\n";
}

void SvgCanvas::ClosePath()
{
    if (m_path.empty())
        return;
    m_body += "<path fill=\"none\" stroke=\"" + Colour(m_pen) +
              "\" stroke-width=\"1\" stroke-linecap=\"square\" stroke-linejoin=\"miter\" d=\"" + m_path + "\"/>\n";
    m_path.clear();
}

std::string SvgCanvas::Document() const
{
    SvgCanvas copy = *this;
    copy.ClosePath();
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"500\" height=\"500\" viewBox=\"0 0 500 500\" "
           "shape-rendering=\"crispEdges\">\n" +
           copy.m_body + "</svg>\n";
}
