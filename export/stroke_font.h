// A small font of straight strokes for a sweep's label ("t = 0,79"), the same in every build: a
// program with a font library and the page without one draw it to the same pixels. The page's
// pictures also number the axes' ticks with it.
#pragma once

#include <vector>

struct GlyphStroke {
    double x0, y0, x1, y1;   // in capital heights: x right from the glyph's left, y down from its top
};

struct Glyph {
    double width = 0.0;                 // of its strokes, in capital heights; the gap after it apart
    std::vector<GlyphStroke> strokes;   // none: a space, or a character the font lacks
};

// The gap after each glyph, in capital heights.
inline constexpr double kGlyphGap = 0.22;

// The letters a–z and A–Z, the digits, "_", "=", ",", ".", "-" and "−" (U+2212): every character a
// parameter's name and its value with the decimal comma may hold. The baseline lies at y = 1, a
// lower-case letter's top at 0.3, a descender reaches 1.3.
Glyph GlyphOf(char32_t c);
