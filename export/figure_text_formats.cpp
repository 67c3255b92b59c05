// Writing a figure as SVG and as TikZ.
#include "export/figure_text_formats.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Number(double v, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    std::string out = text;
    if (out == "-0.00" || out == "-0.000")
        out.erase(0, 1);
    return out;
}

std::string Hex(Rgb c)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.r, c.g, c.b);
    return text;
}

std::string XmlEscaped(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
        }
    }
    return out;
}

// LaTeX's special characters written so that they print as themselves.
std::string TexEscaped(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '\\': out += "\\textbackslash{}"; break;
        case '{': case '}': case '$': case '&': case '#': case '_': case '%': out += '\\'; out += c; break;
        case '^': out += "\\textasciicircum{}"; break;
        case '~': out += "\\textasciitilde{}"; break;
        default: out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
        }
    }
    return out;
}

const char* BlendName(FigureBlend blend)
{
    return blend == FigureBlend::Lighten ? "lighten" : blend == FigureBlend::Darken ? "darken" : "normal";
}

// The font's size for a capital letter of this height: a sans face's capitals are 0.72 of it.
double FontSize(double capitalHeight)
{
    return capitalHeight / 0.72;
}

}   // namespace

std::string FigureSvg(const Figure& f)
{
    std::string doc = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      std::to_string(f.width) + "\" height=\"" + std::to_string(f.height) + "\" viewBox=\"0 0 " +
                      std::to_string(f.width) + " " + std::to_string(f.height) + "\">\n";
    doc += "<rect x=\"0\" y=\"0\" width=\"" + std::to_string(f.width) + "\" height=\"" + std::to_string(f.height) +
           "\" fill=\"" + Hex(f.background) + "\"/>\n";
    if (f.hasOutline)
        doc += "<rect x=\"0.5\" y=\"" + Number(f.top + 0.5, 2) + "\" width=\"" + std::to_string(f.side - 1) +
               "\" height=\"" + std::to_string(f.side - 1) + "\" fill=\"none\" stroke=\"" + Hex(f.outline) +
               "\" stroke-width=\"1\"/>\n";
    auto common = [&](const FigureLayer& layer) {
        return "fill=\"none\" stroke-width=\"" + std::to_string(f.WidthOf(layer)) +
               "\" stroke-linecap=\"round\" stroke-linejoin=\"round\"";
    };
    const std::string dashes = " stroke-dasharray=\"" + Number(f.dashOn, 2) + " " + Number(f.dashOff, 2) + "\"";
    for (const FigureLayer& layer : f.layers) {
        doc += layer.blend == FigureBlend::Over ? "<g>\n"
                                                : "<g style=\"mix-blend-mode:" + std::string(BlendName(layer.blend)) + "\">\n";
        for (const FigurePath& path : layer.paths) {
            doc += "<path " + common(layer) + " stroke=\"" + Hex(path.colour) + "\"" + (path.dashed ? dashes : "") + " d=\"";
            char command = 'M';
            for (const FigurePoint& p : path.points) {
                doc += command + Number(p.x, 2) + " " + Number(p.y, 2);
                command = command == 'M' ? 'L' : ' ';
            }
            doc += "\"/>\n";
        }
        doc += "</g>\n";
    }
    for (const FigureText& t : f.texts)
        doc += "<text x=\"" + Number(t.at.x, 2) + "\" y=\"" + Number(t.at.y, 2) + "\" font-family=\"DejaVu Sans, sans-serif\" font-size=\"" +
               Number(FontSize(t.height), 2) + "\" text-anchor=\"middle\" dominant-baseline=\"central\" fill=\"" +
               Hex(t.colour) + "\">" + XmlEscaped(t.text) + "</text>\n";
    return doc + "</svg>\n";
}

std::string FigureTikz(const Figure& f)
{
    const double cm = kTikzSideCm / f.side;   // per pixel
    auto point = [&](FigurePoint p) { return "(" + Number(p.x * cm, 3) + "," + Number((f.height - p.y) * cm, 3) + ")"; };
    std::string colours, body;
    std::vector<Rgb> named;   // each colour defined once, as vexilonaa, vexilonab, ...
    auto colour = [&](Rgb c) {
        size_t i = 0;
        while (i < named.size() && !(named[i] == c))
            ++i;
        const std::string name = "vexilon" + std::string(1, static_cast<char>('a' + i / 26 % 26)) +
                                 std::string(1, static_cast<char>('a' + i % 26)) + (i >= 676 ? std::to_string(i / 676) : "");
        if (i == named.size()) {
            named.push_back(c);
            colours += "\\definecolor{" + name + "}{RGB}{" + std::to_string(c.r) + "," + std::to_string(c.g) + "," +
                       std::to_string(c.b) + "}%\n";   // no space into the paragraph
        }
        return name;
    };
    // The picture's own box, whatever the width of lines at its edges.
    body += "\\useasboundingbox (0,0) rectangle " + point({double(f.width), 0.0}) + ";\n";
    body += "\\fill[" + colour(f.background) + "] (0,0) rectangle " + point({double(f.width), 0.0}) + ";\n";
    if (f.hasOutline)
        body += "\\draw[" + colour(f.outline) + ", line width=" + Number(cm, 4) + "cm] " + point({0.5, f.top + 0.5}) +
                " rectangle " + point({f.side - 0.5, f.top + f.side - 0.5}) + ";\n";
    auto width = [&](const FigureLayer& layer) {
        return "line width=" + Number(f.WidthOf(layer) * cm, 4) + "cm, line cap=round, line join=round";
    };
    const std::string dashes = ", dash pattern=on " + Number(f.dashOn * cm, 4) + "cm off " + Number(f.dashOff * cm, 4) + "cm";
    for (const FigureLayer& layer : f.layers) {
        body += "\\begin{scope}[" + width(layer) + (layer.blend == FigureBlend::Over ? "" : ", blend mode=" + std::string(BlendName(layer.blend))) + "]\n";
        for (const FigurePath& path : layer.paths) {
            body += "\\draw[" + colour(path.colour) + (path.dashed ? dashes : "") + "] ";
            for (size_t i = 0; i < path.points.size(); ++i)
                body += (i ? " -- " : "") + point(path.points[i]);
            body += ";\n";
        }
        body += "\\end{scope}\n";
    }
    for (const FigureText& t : f.texts) {
        // Scaled from the document's own sans face at 10 pt, which every font setup has.
        const double pt = FontSize(t.height) * cm / 2.54 * 72.27;
        body += "\\node[text=" + colour(t.colour) + ", font=\\sffamily\\normalsize, scale=" + Number(pt / 10.0, 3) +
                ", inner sep=0pt] at " + point(t.at) + " {" + TexEscaped(t.text) + "};\n";
    }
    return "% A figure of vexilon-render: \\input it inside a document that loads tikz.\n" + colours +
           "\\begin{tikzpicture}\n" + body + "\\end{tikzpicture}\n";
}
