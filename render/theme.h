// The colours of a figure: each theme's, the user's own by name or #rrggbb, and their contrast.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "render/canvas.h"
#include "render/frame_style.h"

struct ThemeInfo {
    Theme              theme;
    std::string_view   name;          // as --theme takes it
    std::string_view   caption;       // as the window lists it
    Rgb                background;
    std::optional<Rgb> outline;       // one pixel inside the square's edge; none on paper and wall
    Rgb                lines;
    Rgb                ink;           // axes, their labels and the title
    Rgb                accent;        // a section: warm, apart from the lines and the ground
    int                lineWidth;     // pixels, unless the user chose a width
};

std::span<const ThemeInfo> Themes();                       // in the order help lists them
const ThemeInfo& InfoOf(Theme theme);
std::optional<Theme> ThemeNamed(std::string_view name);    // "pantalla", "papel", "proyector"

// "#rrggbb" (any case) or a name of the table, Spanish or English, e.g. "azul", "blue".
std::optional<Rgb> ColourNamed(std::string_view text);
std::string ColourNames(std::string_view separator);        // "negro, blanco, ..."

// The relative luminance of sRGB c, 0 (black) to 1 (white), as accessibility guidelines define it.
double RelativeLuminance(Rgb c);
// (lighter + 0.05) / (darker + 0.05): 1 for equal colours, 21 for black on white.
double ContrastRatio(Rgb a, Rgb b);

// Whether a frame in style is the plain or styled frame in other colours: the figure's options
// that change only colours (theme, --background, --color) at the frame's own size.
bool IsRecolouredFrame(const FrameStyle& style);
// The style without the figure's options: the frame that IsRecolouredFrame recolours.
FrameStyle FrameOnly(const FrameStyle& style);
// The colour that a frame's colour c takes in style: the outline's white, the ground's black and
// the blues of the lines and the depth cue; any other colour stays.
Rgb ThemedColour(Rgb c, const FrameStyle& style);
// Mixed level / 255 of the way from one colour to the other, channel by channel, truncated.
Rgb MixColours(Rgb from, Rgb to, int level);
