// Fitting a title: estimated from the runs' widths, smaller or on two lines when too wide.
#include "render/figure_title.h"

#include <algorithm>

#include "render/axis_ticks.h"
#include "render/theme.h"
#include "render/title_text.h"

Rgb TitleColour(const FrameStyle& style, Rgb ground)
{
    const ThemeInfo& theme = InfoOf(style.theme);
    const Rgb lines = style.lineColour.value_or(theme.lines);
    return ContrastRatio(lines, ground) > ContrastRatio(theme.ink, ground) ? lines : theme.ink;
}

void AddTitle(const std::string& title, int band, Rgb colour, Figure& figure)
{
    constexpr double kWidthUsed = 0.94, kLeastScale = 0.75;
    figure.title = title;
    const double room = kWidthUsed * figure.width, height = 0.4 * band;
    const double wide = EstimatedWidth(TextRuns(title)) * height;
    if (wide <= room) {
        figure.texts.push_back({{figure.width / 2.0, band / 2.0}, height, title, colour, true});
        return;
    }
    if (wide * kLeastScale <= room) {
        figure.texts.push_back({{figure.width / 2.0, band / 2.0}, height * room / wide, title, colour, true});
        return;
    }
    std::string first, second;
    SplitInTwo(title, first, second);
    const double lineHeight = second.empty() ? height : 0.3 * band;
    const double widest = std::max(EstimatedWidth(TextRuns(first)), EstimatedWidth(TextRuns(second))) * lineHeight;
    const double fitted = widest > room ? lineHeight * room / widest : lineHeight;
    if (second.empty()) {
        figure.texts.push_back({{figure.width / 2.0, band / 2.0}, fitted, first, colour, true});
        return;
    }
    figure.texts.push_back({{figure.width / 2.0, band * 0.3}, fitted, first, colour, true});
    figure.texts.push_back({{figure.width / 2.0, band * 0.74}, fitted, second, colour, true});
}


void AddLabel(const std::string& label, Rgb colour, Figure& figure)
{
    const double height = 0.032 * figure.side, margin = 0.03 * figure.side;
    const double wide = EstimatedWidth(TextRuns(label)) * height;
    figure.texts.push_back({{margin + wide / 2.0, figure.top + margin + height / 2.0}, height, label, colour, false, true});
}

std::string SweepLabel(const std::string& name, double value)
{
    return name + " = " + TickLabel(value, 0.01);
}
