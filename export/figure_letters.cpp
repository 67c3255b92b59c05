// Strokes in a letter's box, from (-0.5, -0.5) at its top left to (0.5, 0.5), rows growing down; the
// tail of the y goes below.
#include "export/figure_letters.h"

#include "export/stroke_font.h"
#include "render/title_text.h"
#include "render/utf8.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct Stroke {
    double x0, y0, x1, y1;
};

std::vector<Stroke> StrokesOf(char letter)
{
    switch (letter) {
    case 'x': return {{-0.5, -0.5, 0.5, 0.5}, {0.5, -0.5, -0.5, 0.5}};
    case 'y': return {{-0.5, -0.5, 0.0, 0.5}, {0.5, -0.5, -0.25, 1.0}};
    case 'z': return {{-0.5, -0.5, 0.5, -0.5}, {0.5, -0.5, -0.5, 0.5}, {-0.5, 0.5, 0.5, 0.5}};
    default: return {};
    }
}

double DistanceToStroke(double x, double y, const Stroke& s)
{
    const double dx = s.x1 - s.x0, dy = s.y1 - s.y0;
    const double t = std::clamp(((x - s.x0) * dx + (y - s.y0) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(x - (s.x0 + t * dx), y - (s.y0 + t * dy));
}

// A text in the stroke font from left, its capitals t.height tall and centred on t.at.y.
void DrawStrokeText(const FigureText& t, double left, FigurePicture& picture)
{
    const double high = t.height, half = std::max(0.5, high / 16.0);
    const std::uint8_t ink = picture.IndexOf(t.colour);
    const double top = t.at.y - high / 2.0;
    for (size_t i = 0; i < t.text.size() && left - high < picture.width;) {   // none past the right edge
        const auto [c, length] = DecodeUtf8(t.text, i);
        i += length;
        const Glyph glyph = GlyphOf(c);
        for (const GlyphStroke& g : glyph.strokes) {
            // Squared distances only: a square root's or hypot's last bits could differ between builds.
            const Stroke s{left + g.x0 * high, top + g.y0 * high, left + g.x1 * high, top + g.y1 * high};
            if (std::max(s.x0, s.x1) + half < 0.0 || std::max(s.y0, s.y1) + half < 0.0 || std::min(s.y0, s.y1) - half > picture.height)
                continue;   // wholly outside: no pixel to try, no column past an int's range
            const double dx = s.x1 - s.x0, dy = s.y1 - s.y0, lengthSquared = dx * dx + dy * dy;
            const int fromCol = std::max(0, static_cast<int>(std::floor(std::min(s.x0, s.x1) - half)));
            const int toCol = std::min(picture.width - 1, static_cast<int>(std::ceil(std::max(s.x0, s.x1) + half)));
            const int fromRow = std::max(0, static_cast<int>(std::floor(std::min(s.y0, s.y1) - half)));
            const int toRow = std::min(picture.height - 1, static_cast<int>(std::ceil(std::max(s.y0, s.y1) + half)));
            for (int row = fromRow; row <= toRow; ++row)
                for (int col = fromCol; col <= toCol; ++col) {
                    const double x = col + 0.5 - s.x0, y = row + 0.5 - s.y0;
                    const double along = lengthSquared > 0.0 ? std::clamp((x * dx + y * dy) / lengthSquared, 0.0, 1.0) : 0.0;
                    const double ox = x - along * dx, oy = y - along * dy;
                    if (ox * ox + oy * oy <= half * half)
                        picture.indices[static_cast<std::size_t>(row) * picture.width + col] = ink;
                }
        }
        left += (glyph.width + kGlyphGap) * high;
    }
}

// The width of a text in the stroke font, in pixels, its capitals high tall.
double StrokeTextWidth(const std::string& text, double high)
{
    double width = 0.0;
    for (size_t i = 0; i < text.size();) {
        const auto [c, length] = DecodeUtf8(text, i);
        i += length;
        width += GlyphOf(c).width + kGlyphGap;
    }
    return std::max(0.0, width - kGlyphGap) * high;
}

}   // namespace

void DrawFigureLetters(const Figure& f, FigurePicture& picture)
{
    for (const FigureText& t : f.texts) {
        if (t.label || t.title)
            continue;
        if (t.text.size() != 1 || StrokesOf(t.text[0]).empty()) {   // a tick's number, centred
            DrawStrokeText(t, t.at.x - StrokeTextWidth(t.text, t.height) / 2.0, picture);
            continue;
        }
        // A lower-case letter stands about as high as 0.7 of a capital; its pen a tenth of that.
        const double high = t.height * 0.7, wide = high * 0.8, advance = wide * 1.4;
        const double half = std::max(0.5, high / 14.0);
        const std::uint8_t ink = picture.IndexOf(t.colour);
        const double first = t.at.x - advance * (static_cast<double>(t.text.size()) - 1.0) / 2.0;
        for (std::size_t i = 0; i < t.text.size(); ++i) {
            const std::vector<Stroke> strokes = StrokesOf(t.text[i]);
            const double cx = first + advance * static_cast<double>(i), cy = t.at.y;
            const int left = static_cast<int>(std::floor(cx - wide / 2 - half)), right = static_cast<int>(std::ceil(cx + wide / 2 + half));
            const int top = static_cast<int>(std::floor(cy - high / 2 - half)), bottom = static_cast<int>(std::ceil(cy + high + half));
            for (int row = std::max(top, 0); row <= std::min(bottom, picture.height - 1); ++row)
                for (int col = std::max(left, 0); col <= std::min(right, picture.width - 1); ++col) {
                    // The pixel's centre in the letter's box.
                    const double x = (col + 0.5 - cx) / wide, y = (row + 0.5 - cy) / high;
                    for (const Stroke& s : strokes) {
                        const Stroke scaled{s.x0 * wide, s.y0 * high, s.x1 * wide, s.y1 * high};
                        if (DistanceToStroke(x * wide, y * high, scaled) <= half) {
                            picture.indices[static_cast<std::size_t>(row) * picture.width + col] = ink;
                            break;
                        }
                    }
                }
        }
    }
}

void DrawFigureLabels(const Figure& f, FigurePicture& picture)
{
    for (const FigureText& t : f.texts)
        if (t.label)
            DrawStrokeText(t, t.at.x - EstimatedWidth(TextRuns(t.text)) * t.height / 2.0, picture);
}
