// The title of a figure: its colour and its place in the band above the square.
#pragma once

#include <string>

#include "render/figure.h"

// The title's colour: of the theme's (or the user's) lines and its ink, the one that stands out
// more on the ground, so a title on paper is black, not the axes' grey.
Rgb TitleColour(const FrameStyle& style, Rgb ground);

// The title in its band across the picture's width: as it always was when it fits, else smaller,
// else on two lines, so that no letter falls outside the picture.
void AddTitle(const std::string& title, int band, Rgb colour, Figure& figure);

// A label in the square's top left corner, a little in from its edges.
void AddLabel(const std::string& label, Rgb colour, Figure& figure);

// A sweep's label: "t = 0,79", the value to two decimals with the decimal comma.
std::string SweepLabel(const std::string& name, double value);
