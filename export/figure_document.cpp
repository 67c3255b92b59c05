// A figure as PDF and EPS operators, the page in points and the figure in its pixels beneath.
#include "export/figure_document.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr double kPointsPerCm = 72.0 / 2.54;

// A number as the documents write it: four decimals at most (six for the page's scale), no trailing
// zeros, never "-0".
std::string Num(double value, int decimals = 4)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string s = text;
    while (s.back() == '0')
        s.pop_back();
    if (s.back() == '.')
        s.pop_back();
    return s == "-0" ? "0" : s;
}

std::string Colour(Rgb c)
{
    return Num(c.r / 255.0) + ' ' + Num(c.g / 255.0) + ' ' + Num(c.b / 255.0);
}

// Helvetica's advance widths, in thousandths of its size, for the printable ASCII characters.
constexpr std::uint16_t kHelveticaWidths[95] = {
    278, 278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333, 278, 278, 556, 556, 556, 556, 556, 556, 556, 556,
    556, 556, 278, 278, 584, 584, 584, 556, 1015, 667, 667, 722, 722, 667, 611, 778, 722, 278, 500, 667, 556, 833, 722, 778,
    667, 778, 722, 667, 611, 722, 667, 944, 667, 667, 611, 278, 278, 278, 469, 556, 333, 556, 556, 500, 556, 556, 278, 556,
    556, 222, 222, 500, 222, 833, 556, 556, 556, 556, 333, 500, 278, 556, 500, 722, 500, 500, 500, 334, 260, 334, 584};

// UTF-8 text as Latin-1 bytes (WinAnsi agrees there), a character beyond it as '?'.
std::string Latin1(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if ((c & 0xe0) == 0xc0 && i + 1 < text.size()) {
            const unsigned code = ((c & 0x1fu) << 6) | (static_cast<unsigned char>(text[++i]) & 0x3fu);
            out += code < 0x100 ? static_cast<char>(code) : '?';
        } else {
            while (i + 1 < text.size() && (static_cast<unsigned char>(text[i + 1]) & 0xc0) == 0x80)
                ++i;
            out += '?';
        }
    }
    return out;
}

double TextWidth(const std::string& latin1, double size)
{
    double thousandths = 0.0;
    for (const char ch : latin1) {
        const unsigned char c = static_cast<unsigned char>(ch);
        thousandths += c >= 32 && c < 127 ? kHelveticaWidths[c - 32] : 556;
    }
    return thousandths * size / 1000.0;
}

// A string in parentheses, its own parentheses and backslashes escaped.
std::string Quoted(const std::string& latin1)
{
    std::string out = "(";
    for (const char c : latin1) {
        if (c == '(' || c == ')' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + ')';
}

// The operators of each document, named once so that one walk of the figure writes either.
struct Operators {
    bool pdf;
    std::string fill(Rgb c) const { return Colour(c) + (pdf ? " rg\n" : " setrgbcolor\n"); }
    std::string stroke(Rgb c) const { return Colour(c) + (pdf ? " RG\n" : " setrgbcolor\n"); }
    std::string rect(double x, double y, double w, double h, bool filled) const
    {
        const std::string box = Num(x) + ' ' + Num(y) + ' ' + Num(w) + ' ' + Num(h);
        return pdf ? box + (filled ? " re f\n" : " re S\n") : box + (filled ? " rectfill\n" : " rectstroke\n");
    }
    std::string width(double w) const { return Num(w) + (pdf ? " w\n" : " setlinewidth\n"); }
    std::string dash(const Figure& f, bool dashed) const
    {
        const std::string array = dashed ? '[' + Num(f.dashOn) + ' ' + Num(f.dashOff) + ']' : std::string("[]");
        return array + (pdf ? " 0 d\n" : " 0 setdash\n");
    }
    std::string path(const FigurePath& p) const
    {
        std::string out = Num(p.points[0].x) + ' ' + Num(p.points[0].y) + (pdf ? " m\n" : " moveto\n");
        for (std::size_t i = 1; i < p.points.size(); ++i)
            out += Num(p.points[i].x) + ' ' + Num(p.points[i].y) + (pdf ? " l\n" : " lineto\n");
        return out + (pdf ? "S\n" : "stroke\n");
    }
    // The text's box centred on its place, upright although the figure's rows grow downwards.
    std::string text(const FigureText& t) const
    {
        const std::string latin1 = Latin1(t.text);
        const double size = t.height / 0.72;
        const double x = t.at.x - TextWidth(latin1, size) / 2.0, y = t.at.y + t.height / 2.0;
        if (pdf)
            return "BT /F1 " + Num(size) + " Tf 1 0 0 -1 " + Num(x) + ' ' + Num(y) + " Tm " + Quoted(latin1) + " Tj ET\n";
        return "gsave /Helvetica-Latin1 findfont " + Num(size) + " scalefont setfont " + Num(x) + ' ' + Num(y) +
               " translate 1 -1 scale 0 0 moveto " + Quoted(latin1) + " show grestore\n";
    }
};

// The figure's drawing in its pixels: ground, outline, the layers' paths, the texts.
std::string Drawing(const Figure& f, const Operators& op)
{
    std::string out = op.fill(f.background) + op.rect(0, 0, f.width, f.height, true);
    if (f.hasOutline)
        out += op.stroke(f.outline) + op.width(1.0) + op.rect(0.5, f.top + 0.5, f.side - 1, f.side - 1, false);
    out += op.width(f.lineWidth) + (op.pdf ? "1 J 1 j\n" : "1 setlinecap 1 setlinejoin\n");
    for (const FigureLayer& layer : f.layers) {
        if (op.pdf)
            out += layer.blend == FigureBlend::Lighten ? "/Lighten gs\n" : layer.blend == FigureBlend::Darken ? "/Darken gs\n" : "/Normal gs\n";
        for (const FigurePath& path : layer.paths)
            if (!path.points.empty())
                out += op.stroke(path.colour) + op.dash(f, path.dashed) + op.path(path);
    }
    if (op.pdf)
        out += "/Normal gs\n";
    for (const FigureText& t : f.texts)
        out += op.fill(t.colour) + op.text(t);
    return out;
}

double PointsPerPixel(const Figure& f)
{
    return kPrintedSideCm * kPointsPerCm / f.side;
}

bool WriteAll(std::FILE* file, const std::string& bytes)
{
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
}

}   // namespace

bool WriteFigurePdfDirect(std::FILE* file, const Figure& f)
{
    if (f.side <= 0)
        return false;
    const double scale = PointsPerPixel(f), width = f.width * scale, height = f.height * scale;
    const std::string content = Num(scale, 6) + " 0 0 " + Num(-scale, 6) + " 0 " + Num(height, 6) + " cm\n" + Drawing(f, {true});
    const std::vector<std::string> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + Num(width) + ' ' + Num(height) + "] /Contents 4 0 R /Resources << "
        "/ExtGState << /Normal << /BM /Normal >> /Lighten << /BM /Lighten >> /Darken << /BM /Darken >> >> /Font << /F1 5 0 R >> >> >>",
        "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "endstream",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>",
        "<< /Creator (vexilon) >>"};
    std::string out = "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(out.size());
        out += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t table = out.size();
    out += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const std::size_t offset : offsets) {
        char line[24];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
        out += line;
    }
    out += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R /Info 6 0 R >>\nstartxref\n" +
           std::to_string(table) + "\n%%EOF\n";
    return WriteAll(file, out);
}

bool WriteFigureEpsDirect(std::FILE* file, const Figure& f)
{
    if (f.side <= 0)
        return false;
    const double scale = PointsPerPixel(f), width = f.width * scale, height = f.height * scale;
    std::string out = "%!PS-Adobe-3.0 EPSF-3.0\n%%Creator: vexilon\n%%BoundingBox: 0 0 " +
                      std::to_string(static_cast<int>(std::ceil(width))) + ' ' + std::to_string(static_cast<int>(std::ceil(height))) +
                      "\n%%LanguageLevel: 2\n%%Pages: 1\n%%EndComments\n";
    // Helvetica with the Latin-1 letters, for the titles' accents.
    out += "/Helvetica-Latin1 /Helvetica findfont dup length dict begin { 1 index /FID ne { def } { pop pop } ifelse } forall "
           "/Encoding ISOLatin1Encoding def currentdict end definefont pop\n";
    // The rows grow downwards from the bounding box's whole top, as in cairo's EPS.
    out += "%%Page: 1 1\ngsave\n0 " + std::to_string(static_cast<int>(std::ceil(height))) + " translate " + Num(scale, 6) + ' ' +
           Num(-scale, 6) + " scale\n" +
           Drawing(f, {false}) + "grestore\nshowpage\n%%EOF\n";
    return WriteAll(file, out);
}
