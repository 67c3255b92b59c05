// The label's glyphs as polylines and arcs of ellipses. An arc's points come from a table of the
// cosines of multiples of 15°, never from the C library's cosine, whose last bits differ between
// builds, so that every build strokes the same points.
#include "export/stroke_font.h"

#include <initializer_list>
#include <utility>

namespace {

// cos(15° k) for any whole k.
double Cos15(int k)
{
    static constexpr double kQuarter[7] = {1.0, 0.96592582628906831, 0.86602540378443865, 0.70710678118654757,
                                           0.5, 0.25881904510252074, 0.0};
    k = ((k % 24) + 24) % 24;
    if (k <= 6)
        return kQuarter[k];
    if (k <= 12)
        return -kQuarter[12 - k];
    if (k <= 18)
        return -kQuarter[k - 12];
    return kQuarter[24 - k];
}

double Sin15(int k) { return Cos15(k - 6); }

struct At {
    double x, y;
};

class GlyphBuilder {
public:
    explicit GlyphBuilder(double width) { m_glyph.width = width; }

    GlyphBuilder& Line(std::initializer_list<At> points)
    {
        const At* previous = nullptr;
        for (const At& p : points) {
            if (previous)
                m_glyph.strokes.push_back({previous->x, previous->y, p.x, p.y});
            previous = &p;
        }
        return *this;
    }

    // An arc of the ellipse about (cx, cy) from angle 15° from to 15° to, counter-clockwise as seen
    // when to > from (0: rightmost, 6: the top).
    GlyphBuilder& Arc(double cx, double cy, double rx, double ry, int from, int to)
    {
        const int step = to > from ? 1 : -1;
        for (int k = from; k != to; k += step)
            m_glyph.strokes.push_back({cx + rx * Cos15(k), cy - ry * Sin15(k), cx + rx * Cos15(k + step),
                                       cy - ry * Sin15(k + step)});
        return *this;
    }

    GlyphBuilder& Ellipse(double cx, double cy, double rx, double ry) { return Arc(cx, cy, rx, ry, 0, 24); }

    Glyph Done() { return std::move(m_glyph); }

private:
    Glyph m_glyph;
};

// A lower-case letter's bowl, as in a, b, d, g, o, p, q.
GlyphBuilder Bowl(double width = 0.5) { return std::move(GlyphBuilder(width).Ellipse(0.25, 0.65, 0.25, 0.35)); }

Glyph LowerCase(char c)
{
    switch (c) {
    case 'a': return Bowl().Line({{0.5, 0.3}, {0.5, 1.0}}).Done();
    case 'b': return Bowl().Line({{0.0, 0.0}, {0.0, 1.0}}).Done();
    case 'c': return GlyphBuilder(0.5).Arc(0.25, 0.65, 0.25, 0.35, 2, 22).Done();
    case 'd': return Bowl().Line({{0.5, 0.0}, {0.5, 1.0}}).Done();
    case 'e': return GlyphBuilder(0.5).Line({{0.0, 0.65}, {0.5, 0.65}}).Arc(0.25, 0.65, 0.25, 0.35, 0, 21).Done();
    case 'f': return GlyphBuilder(0.45).Line({{0.15, 1.0}, {0.15, 0.2}}).Arc(0.35, 0.2, 0.2, 0.2, 12, 4).Line({{0.0, 0.3}, {0.4, 0.3}}).Done();
    case 'g': return Bowl().Line({{0.5, 0.3}, {0.5, 1.1}}).Arc(0.25, 1.1, 0.25, 0.2, 24, 14).Done();
    case 'h': return GlyphBuilder(0.5).Line({{0.0, 0.0}, {0.0, 1.0}}).Arc(0.25, 0.55, 0.25, 0.25, 12, 0).Line({{0.5, 0.55}, {0.5, 1.0}}).Done();
    case 'i': return GlyphBuilder(0.0).Line({{0.0, 0.3}, {0.0, 1.0}}).Line({{0.0, 0.06}, {0.0, 0.12}}).Done();
    case 'j': return GlyphBuilder(0.2).Line({{0.2, 0.3}, {0.2, 1.1}}).Arc(0.0, 1.1, 0.2, 0.2, 24, 17).Line({{0.2, 0.06}, {0.2, 0.12}}).Done();
    case 'k': return GlyphBuilder(0.45).Line({{0.0, 0.0}, {0.0, 1.0}}).Line({{0.45, 0.3}, {0.0, 0.72}}).Line({{0.15, 0.58}, {0.45, 1.0}}).Done();
    case 'l': return GlyphBuilder(0.0).Line({{0.0, 0.0}, {0.0, 1.0}}).Done();
    case 'm':
        return GlyphBuilder(0.7).Line({{0.0, 0.3}, {0.0, 1.0}}).Arc(0.175, 0.5, 0.175, 0.2, 12, 0).Line({{0.35, 0.5}, {0.35, 1.0}})
            .Arc(0.525, 0.5, 0.175, 0.2, 12, 0).Line({{0.7, 0.5}, {0.7, 1.0}}).Done();
    case 'n': return GlyphBuilder(0.5).Line({{0.0, 0.3}, {0.0, 1.0}}).Arc(0.25, 0.55, 0.25, 0.25, 12, 0).Line({{0.5, 0.55}, {0.5, 1.0}}).Done();
    case 'o': return Bowl().Done();
    case 'p': return Bowl().Line({{0.0, 0.3}, {0.0, 1.3}}).Done();
    case 'q': return Bowl().Line({{0.5, 0.3}, {0.5, 1.3}}).Done();
    case 'r': return GlyphBuilder(0.42).Line({{0.0, 0.3}, {0.0, 1.0}}).Arc(0.3, 0.62, 0.3, 0.32, 12, 5).Done();
    case 's':
        return GlyphBuilder(0.46).Arc(0.23, 0.475, 0.23, 0.175, 2, 18).Arc(0.23, 0.825, 0.23, 0.175, 6, -10).Done();
    case 't': return GlyphBuilder(0.4).Line({{0.12, 0.05}, {0.12, 0.85}}).Arc(0.3, 0.85, 0.18, 0.15, 12, 21).Line({{0.0, 0.3}, {0.4, 0.3}}).Done();
    case 'u': return GlyphBuilder(0.5).Line({{0.0, 0.3}, {0.0, 0.75}}).Arc(0.25, 0.75, 0.25, 0.25, 12, 24).Line({{0.5, 0.3}, {0.5, 1.0}}).Done();
    case 'v': return GlyphBuilder(0.5).Line({{0.0, 0.3}, {0.25, 1.0}, {0.5, 0.3}}).Done();
    case 'w': return GlyphBuilder(0.7).Line({{0.0, 0.3}, {0.175, 1.0}, {0.35, 0.5}, {0.525, 1.0}, {0.7, 0.3}}).Done();
    case 'x': return GlyphBuilder(0.5).Line({{0.0, 0.3}, {0.5, 1.0}}).Line({{0.5, 0.3}, {0.0, 1.0}}).Done();
    case 'y': return GlyphBuilder(0.5).Line({{0.0, 0.3}, {0.25, 1.0}}).Line({{0.5, 0.3}, {0.14, 1.3}}).Done();
    case 'z': return GlyphBuilder(0.5).Line({{0.0, 0.3}, {0.5, 0.3}, {0.0, 1.0}, {0.5, 1.0}}).Done();
    default: return {};
    }
}

// P's and R's bowl.
GlyphBuilder Bowl2(double width) { return std::move(GlyphBuilder(width).Line({{0.0, 1.0}, {0.0, 0.0}, {0.33, 0.0}}).Arc(0.33, 0.25, 0.25, 0.25, 6, -6).Line({{0.33, 0.5}, {0.0, 0.5}})); }

Glyph Capital(char c)
{
    switch (c) {
    case 'A': return GlyphBuilder(0.6).Line({{0.0, 1.0}, {0.3, 0.0}, {0.6, 1.0}}).Line({{0.1, 0.67}, {0.5, 0.67}}).Done();
    case 'B':
        return GlyphBuilder(0.6).Line({{0.33, 0.45}, {0.0, 0.45}}).Line({{0.33, 0.0}, {0.0, 0.0}, {0.0, 1.0}, {0.35, 1.0}})
            .Arc(0.33, 0.225, 0.23, 0.225, 6, -6).Arc(0.35, 0.725, 0.25, 0.275, 6, -6).Done();
    case 'C': return GlyphBuilder(0.6).Arc(0.32, 0.5, 0.32, 0.5, 2, 22).Done();
    case 'D': return GlyphBuilder(0.6).Line({{0.2, 0.0}, {0.0, 0.0}, {0.0, 1.0}, {0.2, 1.0}}).Arc(0.2, 0.5, 0.4, 0.5, 6, -6).Done();
    case 'E': return GlyphBuilder(0.5).Line({{0.5, 0.0}, {0.0, 0.0}, {0.0, 1.0}, {0.5, 1.0}}).Line({{0.0, 0.5}, {0.42, 0.5}}).Done();
    case 'F': return GlyphBuilder(0.5).Line({{0.5, 0.0}, {0.0, 0.0}, {0.0, 1.0}}).Line({{0.0, 0.5}, {0.42, 0.5}}).Done();
    case 'G': return GlyphBuilder(0.64).Arc(0.32, 0.5, 0.32, 0.5, 2, 24).Line({{0.64, 0.5}, {0.36, 0.5}}).Done();
    case 'H': return GlyphBuilder(0.6).Line({{0.0, 0.0}, {0.0, 1.0}}).Line({{0.6, 0.0}, {0.6, 1.0}}).Line({{0.0, 0.5}, {0.6, 0.5}}).Done();
    case 'I': return GlyphBuilder(0.0).Line({{0.0, 0.0}, {0.0, 1.0}}).Done();
    case 'J': return GlyphBuilder(0.45).Line({{0.45, 0.0}, {0.45, 0.75}}).Arc(0.225, 0.75, 0.225, 0.25, 24, 12).Done();
    case 'K': return GlyphBuilder(0.55).Line({{0.0, 0.0}, {0.0, 1.0}}).Line({{0.55, 0.0}, {0.0, 0.62}}).Line({{0.2, 0.43}, {0.55, 1.0}}).Done();
    case 'L': return GlyphBuilder(0.5).Line({{0.0, 0.0}, {0.0, 1.0}, {0.5, 1.0}}).Done();
    case 'M': return GlyphBuilder(0.72).Line({{0.0, 1.0}, {0.0, 0.0}, {0.36, 0.7}, {0.72, 0.0}, {0.72, 1.0}}).Done();
    case 'N': return GlyphBuilder(0.6).Line({{0.0, 1.0}, {0.0, 0.0}, {0.6, 1.0}, {0.6, 0.0}}).Done();
    case 'O': return GlyphBuilder(0.7).Ellipse(0.35, 0.5, 0.35, 0.5).Done();
    case 'P': return Bowl2(0.58).Done();
    case 'Q': return GlyphBuilder(0.7).Ellipse(0.35, 0.5, 0.35, 0.5).Line({{0.42, 0.7}, {0.7, 1.05}}).Done();
    case 'R': return Bowl2(0.58).Line({{0.3, 0.5}, {0.58, 1.0}}).Done();
    case 'S': return GlyphBuilder(0.58).Arc(0.29, 0.25, 0.27, 0.25, 2, 18).Arc(0.29, 0.75, 0.29, 0.25, 6, -10).Done();
    case 'T': return GlyphBuilder(0.6).Line({{0.0, 0.0}, {0.6, 0.0}}).Line({{0.3, 0.0}, {0.3, 1.0}}).Done();
    case 'U': return GlyphBuilder(0.6).Line({{0.0, 0.0}, {0.0, 0.7}}).Arc(0.3, 0.7, 0.3, 0.3, 12, 24).Line({{0.6, 0.7}, {0.6, 0.0}}).Done();
    case 'V': return GlyphBuilder(0.6).Line({{0.0, 0.0}, {0.3, 1.0}, {0.6, 0.0}}).Done();
    case 'W': return GlyphBuilder(0.8).Line({{0.0, 0.0}, {0.2, 1.0}, {0.4, 0.3}, {0.6, 1.0}, {0.8, 0.0}}).Done();
    case 'X': return GlyphBuilder(0.6).Line({{0.0, 0.0}, {0.6, 1.0}}).Line({{0.6, 0.0}, {0.0, 1.0}}).Done();
    case 'Y': return GlyphBuilder(0.6).Line({{0.0, 0.0}, {0.3, 0.5}, {0.6, 0.0}}).Line({{0.3, 0.5}, {0.3, 1.0}}).Done();
    case 'Z': return GlyphBuilder(0.6).Line({{0.0, 0.0}, {0.6, 0.0}, {0.0, 1.0}, {0.6, 1.0}}).Done();
    default: return {};
    }
}

Glyph Digit(char c)
{
    switch (c) {
    case '0': return GlyphBuilder(0.5).Ellipse(0.25, 0.5, 0.25, 0.5).Done();
    case '1': return GlyphBuilder(0.5).Line({{0.08, 0.22}, {0.3, 0.0}, {0.3, 1.0}}).Done();
    case '2': return GlyphBuilder(0.5).Arc(0.25, 0.25, 0.25, 0.25, 10, -3).Line({{0.427, 0.427}, {0.0, 1.0}, {0.5, 1.0}}).Done();
    case '3': return GlyphBuilder(0.5).Arc(0.25, 0.25, 0.23, 0.25, 10, -6).Arc(0.25, 0.75, 0.25, 0.25, 6, -10).Done();
    case '4': return GlyphBuilder(0.5).Line({{0.36, 1.0}, {0.36, 0.0}, {0.0, 0.7}, {0.5, 0.7}}).Done();
    case '5': return GlyphBuilder(0.5).Line({{0.46, 0.0}, {0.05, 0.0}, {0.022, 0.454}}).Arc(0.22, 0.68, 0.28, 0.32, 9, -10).Done();
    case '6': return GlyphBuilder(0.5).Ellipse(0.25, 0.72, 0.25, 0.28).Arc(0.5, 0.72, 0.5, 0.72, 12, 7).Done();
    case '7': return GlyphBuilder(0.5).Line({{0.0, 0.0}, {0.5, 0.0}, {0.15, 1.0}}).Done();
    case '8': return GlyphBuilder(0.5).Ellipse(0.25, 0.26, 0.21, 0.24).Ellipse(0.25, 0.75, 0.25, 0.25).Done();
    case '9': return GlyphBuilder(0.5).Ellipse(0.25, 0.28, 0.25, 0.28).Arc(0.0, 0.28, 0.5, 0.72, 0, -5).Done();
    default: return {};
    }
}

}   // namespace

Glyph GlyphOf(char32_t c)
{
    if (c >= 'a' && c <= 'z')
        return LowerCase(static_cast<char>(c));
    if (c >= 'A' && c <= 'Z')
        return Capital(static_cast<char>(c));
    if (c >= '0' && c <= '9')
        return Digit(static_cast<char>(c));
    switch (c) {
    case ' ': return GlyphBuilder(0.2).Done();
    case '_': return GlyphBuilder(0.5).Line({{0.0, 1.15}, {0.5, 1.15}}).Done();
    case '=': return GlyphBuilder(0.5).Line({{0.0, 0.42}, {0.5, 0.42}}).Line({{0.0, 0.68}, {0.5, 0.68}}).Done();
    case '-': return GlyphBuilder(0.3).Line({{0.0, 0.6}, {0.3, 0.6}}).Done();
    case U'\u2212': return GlyphBuilder(0.5).Line({{0.0, 0.55}, {0.5, 0.55}}).Done();
    case ',': return GlyphBuilder(0.06).Line({{0.06, 0.92}, {0.06, 1.0}, {0.0, 1.16}}).Done();
    case '.': return GlyphBuilder(0.0).Line({{0.0, 0.95}, {0.0, 1.0}}).Done();
    default: return GlyphBuilder(0.5).Done();   // an unknown character keeps its place
    }
}
