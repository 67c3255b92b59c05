// Writing a figure as SVG and as TikZ.
#include "export/figure_text_formats.h"

#include <cstdio>
#include <string>
#include <vector>

#include "export/tex_text.h"
#include "render/hex_text.h"
#include "render/title_text.h"

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

const char* BlendName(FigureBlend blend)
{
    return blend == FigureBlend::Lighten ? "lighten" : blend == FigureBlend::Darken ? "darken" : "normal";
}

// The font's size for a capital letter of this height: a sans face's capitals are 0.72 of it.
double FontSize(double capitalHeight)
{
    return capitalHeight / 0.72;
}


// A text with mathematics as tspans: italic letters, scripts smaller and shifted (dy is relative,
// so each shift is undone by the next run's).
std::string SvgRuns(const FigureText& t)
{
    std::string out;
    double shifted = 0.0;
    for (const TextRun& run : TextRuns(t.text)) {
        const double shift = (run.level > 0 ? -kSuperscriptRise : run.level < 0 ? kSubscriptDrop : 0.0) * t.height;
        out += "<tspan";
        if (shift != shifted)
            out += " dy=\"" + Number(shift - shifted, 2) + "\"";
        if (run.italic)
            out += " font-style=\"italic\"";
        if (run.level != 0)
            out += " font-size=\"" + Number(FontSize(t.height) * kScriptScale, 2) + "\"";
        out += ">" + XmlEscaped(run.text) + "</tspan>";
        shifted = shift;
    }
    return out;
}

// A title as LaTeX: its words as text in the document's own font, its mathematics as math.
std::string TikzTitle(const std::string& title)
{
    std::string out;
    bool inMath = false;
    for (const TextRun& run : TextRuns(title)) {
        if (run.math != inMath)
            out += run.math ? "\\(" : "\\)";
        inMath = run.math;
        if (!run.math)
            out += TexText(run.text);
        else if (run.level != 0)
            out += std::string(run.level > 0 ? "^{" : "_{") + run.tex + "}";
        else
            out += run.tex;
    }
    return inMath ? out + "\\)" : out;
}

}   // namespace

std::string FigureSvg(const Figure& f)
{
    // Pixels, unless a printed width was asked for.
    const bool printed = f.printedWidthCm != kPrintedWidthCm;
    const double cmPerPixel = f.printedWidthCm / f.width;
    const std::string width = printed ? Number(f.width * cmPerPixel, 3) + "cm" : std::to_string(f.width);
    const std::string height = printed ? Number(f.height * cmPerPixel, 3) + "cm" : std::to_string(f.height);
    std::string doc = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      width + "\" height=\"" + height + "\" viewBox=\"0 0 " +
                      std::to_string(f.width) + " " + std::to_string(f.height) + "\">\n";
    doc += "<rect x=\"0\" y=\"0\" width=\"" + std::to_string(f.width) + "\" height=\"" + std::to_string(f.height) +
           "\" fill=\"" + WebColour(f.background) + "\"/>\n";
    if (f.hasOutline)
        doc += "<rect x=\"0.5\" y=\"" + Number(f.top + 0.5, 2) + "\" width=\"" + std::to_string(f.side - 1) +
               "\" height=\"" + std::to_string(f.side - 1) + "\" fill=\"none\" stroke=\"" + WebColour(f.outline) +
               "\" stroke-width=\"1\"/>\n";
    auto strokeOf = [&](const FigureLayer& layer) {   // a section's layer is heavier than the surface's
        return layer.lineWidth > 0 ? VectorLineWidth(f) * layer.lineWidth / f.lineWidth : VectorLineWidth(f);
    };
    auto common = [&](const FigureLayer& layer) {
        const double stroke = strokeOf(layer);
        return "fill=\"none\" stroke-width=\"" + (stroke == f.WidthOf(layer) ? std::to_string(f.WidthOf(layer)) : Number(stroke, 2)) +
               "\" stroke-linecap=\"round\" stroke-linejoin=\"round\"";
    };
    const std::string dashes = " stroke-dasharray=\"" + Number(VectorDashOn(f), 2) + " " + Number(VectorDashOff(f), 2) + "\"";
    for (const FigureLayer& layer : f.layers) {
        doc += layer.blend == FigureBlend::Over ? "<g>\n"
                                                : "<g style=\"mix-blend-mode:" + std::string(BlendName(layer.blend)) + "\">\n";
        for (const FigurePath& path : layer.paths) {
            doc += "<path " + common(layer) + " stroke=\"" + WebColour(path.colour) + "\"" + (path.dashed ? dashes : "") + " d=\"";
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
               WebColour(t.colour) + "\">" + (HasMath(t.text) ? SvgRuns(t) : XmlEscaped(t.text)) + "</text>\n";
    return doc + "</svg>\n";
}

std::string FigureTikz(const Figure& f)
{
    const double cm = f.printedWidthCm / f.side;   // per pixel
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
    auto width = [&](const FigureLayer& layer) {   // a section's layer is heavier than the surface's
        const double stroke = layer.lineWidth > 0 ? VectorLineWidth(f) * layer.lineWidth / f.lineWidth : VectorLineWidth(f);
        return "line width=" + Number(stroke * cm, 4) + "cm, line cap=round, line join=round";
    };
    const std::string dashes = ", dash pattern=on " + Number(VectorDashOn(f) * cm, 4) + "cm off " + Number(VectorDashOff(f) * cm, 4) + "cm";
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
    if (!f.title.empty())   // LaTeX breaks it into lines across the picture's width
        body += "\\node[text=" + colour(f.texts.back().colour) + ", text width=" + Number(f.width * cm, 3) +
                "cm, align=center, inner sep=0pt] at " + point({f.width / 2.0, f.top / 2.0}) + " {" + TikzTitle(f.title) + "};\n";
    for (const FigureText& t : f.texts) {
        if (t.title)
            continue;
        // Scaled from the document's own sans face at 10 pt, which every font setup has.
        const double pt = FontSize(t.height) * cm / 2.54 * 72.27;
        body += "\\node[text=" + colour(t.colour) + ", font=\\sffamily\\normalsize, scale=" + Number(pt / 10.0, 3) +
                ", inner sep=0pt] at " + point(t.at) + " {" + TexText(t.text) + "};\n";
    }
    return "% A figure of vexilon-render: \\input it inside a document that loads tikz.\n" + colours +
           "\\begin{tikzpicture}\n" + body + "\\end{tikzpicture}\n";
}
