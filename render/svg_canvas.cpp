// SVG output of a frame. Pixel (c, r) is the unit square at (c, r), so lines run through
// pixel centres (+0.5); square caps make a zero-length line a one-pixel dot, as on the picture.
#include "render/svg_canvas.h"

#include <string>

#include "render/hex_text.h"

namespace {

// Written from twice the centre, an odd integer, so that every int is exact: -3 gives -2.5.
void AppendCentre(std::string& out, int v)
{
    const long long centre2 = 2LL * v + 1;
    if (centre2 < 0)
        out += '-';
    out += std::to_string((centre2 < 0 ? -centre2 : centre2) / 2);
    out += ".5";
}

void AppendPoint(std::string& out, char command, Pixel p)
{
    out += command;
    AppendCentre(out, p.col);
    out += ' ';
    AppendCentre(out, p.row);
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
    AppendPoint(m_path, 'M', p);
}

void SvgCanvas::LineTo(Pixel p)
{
    if (m_path.empty())
        AppendPoint(m_path, 'M', m_position);
    AppendPoint(m_path, 'L', p);
    m_position = p;
}

void SvgCanvas::Rectangle(int left, int top, int right, int bottom, Rgb fill)
{
    ClosePath();
    const long long width = static_cast<long long>(right) - left, height = static_cast<long long>(bottom) - top;
    if (width <= 0 || height <= 0)
        return;
    // Outline centred one half pixel inside the bounds, so fill and outline cover them exactly.
    m_body += "<rect x=\"";
    AppendCentre(m_body, left);
    m_body += "\" y=\"";
    AppendCentre(m_body, top);
    m_body += "\" width=\"";
    m_body += std::to_string(width - 1);
    m_body += "\" height=\"";
    m_body += std::to_string(height - 1);
    m_body += "\" fill=\"";
    m_body += WebColour(fill);
    m_body += "\" stroke=\"";
    m_body += WebColour(m_pen);
    m_body += "\" stroke-width=\"1\"/>\n";
}

void SvgCanvas::ClosePath()
{
    if (m_path.empty())
        return;
    m_body += "<path fill=\"none\" stroke=\"";
    m_body += WebColour(m_pen);
    m_body += "\" stroke-width=\"1\" stroke-linecap=\"square\" stroke-linejoin=\"miter\"";
    if (m_lighten)
        m_body += " style=\"mix-blend-mode:lighten\"";
    m_body += " d=\"";
    m_body += m_path;
    m_body += "\"/>\n";
    m_path.clear();
}

std::string SvgCanvas::Document() const
{
    SvgCanvas copy = *this;
    copy.ClosePath();
    std::string doc = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"500\" height=\"500\" "
                      "viewBox=\"0 0 500 500\" shape-rendering=\"crispEdges\">\n";
    doc += copy.m_body;
    doc += "</svg>\n";
    return doc;
}
