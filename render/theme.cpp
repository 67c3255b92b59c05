// The themes' colours and the names of colours.
#include "render/theme.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "render/hex_text.h"

namespace {

// Proyector: a yellow that keeps a ratio above 12:1 against its dark blue-grey on a washed-out wall.
constexpr std::array<ThemeInfo, 3> kThemes{{
    {Theme::Pantalla, "pantalla", "Pantalla", kBackgroundBlack, kBorderWhite, kSurfaceBlue, {255, 255, 255}, {255, 140, 0}, 1},
    {Theme::Papel, "papel", "Papel", {255, 255, 255}, std::nullopt, {0, 0, 0}, {90, 90, 90}, {204, 51, 0}, 1},
    {Theme::Proyector, "proyector", "Proyector", {16, 24, 32}, std::nullopt, {255, 221, 87}, {255, 255, 255}, {255, 105, 120}, 2},
}};

struct NamedColour {
    std::string_view spanish, english;
    Rgb              colour;
};

constexpr NamedColour kColours[] = {
    {"negro", "black", {0, 0, 0}},       {"blanco", "white", {255, 255, 255}}, {"gris", "gray", {128, 128, 128}},
    {"rojo", "red", {255, 0, 0}},        {"verde", "green", {0, 128, 0}},      {"azul", "blue", {0, 0, 255}},
    {"amarillo", "yellow", {255, 255, 0}}, {"cian", "cyan", {0, 255, 255}},    {"magenta", "magenta", {255, 0, 255}},
    {"naranja", "orange", {255, 165, 0}}, {"morado", "purple", {128, 0, 128}}, {"marino", "navy", {0, 0, 128}},
};

std::string Lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return out;
}

double Linear(std::uint8_t channel)
{
    const double v = channel / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

}   // namespace

std::span<const ThemeInfo> Themes()
{
    return kThemes;
}

const ThemeInfo& InfoOf(Theme theme)
{
    return *std::find_if(kThemes.begin(), kThemes.end(), [&](const ThemeInfo& t) { return t.theme == theme; });
}

std::optional<Theme> ThemeNamed(std::string_view name)
{
    for (const ThemeInfo& info : kThemes)
        if (info.name == name)
            return info.theme;
    return std::nullopt;
}

std::optional<Rgb> ColourNamed(std::string_view text)
{
    const std::string name = Lower(text);
    if (name.size() == 7 && name[0] == '#')
        return HexRgb(std::string_view(name).substr(1));
    for (const NamedColour& c : kColours)
        if (name == c.spanish || name == c.english || (name == "grey" && c.english == "gray"))
            return c.colour;
    return std::nullopt;
}

std::string ColourNames(std::string_view separator)
{
    std::string out;
    for (const NamedColour& c : kColours)
        out += (out.empty() ? "" : std::string(separator)) + std::string(c.spanish);
    return out;
}

double RelativeLuminance(Rgb c)
{
    return 0.2126 * Linear(c.r) + 0.7152 * Linear(c.g) + 0.0722 * Linear(c.b);
}

double ContrastRatio(Rgb a, Rgb b)
{
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool IsRecolouredFrame(const FrameStyle& style)
{
    return style.IsFigure() && style.size == kCanvasSide && style.title.empty() && style.label.empty() && !style.axes && !style.ticks &&
           !style.dashedHidden && !style.anaglyph && !style.section;
}

FrameStyle FrameOnly(const FrameStyle& style)
{
    FrameStyle frame = style;
    frame.size = kCanvasSide;
    frame.theme = Theme::Pantalla;
    frame.background.reset();
    frame.lineColour.reset();
    frame.dashedHidden = frame.axes = frame.ticks = false;
    frame.title.clear();
    frame.label.clear();
    frame.section.reset();
    return frame;
}

Rgb MixColours(Rgb from, Rgb to, int level)
{
    auto channel = [level](int a, int b) { return static_cast<std::uint8_t>(a + ((b - a) * level) / 255); };
    return {channel(from.r, to.r), channel(from.g, to.g), channel(from.b, to.b)};
}

Rgb ThemedColour(Rgb c, const FrameStyle& style)
{
    const ThemeInfo& theme = InfoOf(style.theme);
    const Rgb ground = style.background.value_or(theme.background);
    if (c == kBorderWhite)
        return theme.outline.value_or(ground);
    if (c.r == 0 && c.g == 0)   // the blues: black, the depth cue's shades, and the lines' own
        return MixColours(ground, style.lineColour.value_or(theme.lines), c.b);
    return c;
}
