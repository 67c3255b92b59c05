// The axes' letters as strokes, for a build without a font library (the page's), and a label's
// letters as strokes in every build.
#pragma once

#include "render/figure.h"
#include "render/figure_picture.h"

// The axes' texts of the figure drawn into picture as strokes in its colour: the letters x, y and z
// as tall as the text's height and as wide as a font's, the ticks' numbers in the stroke font,
// centred where a font's would stand. Neither the label nor a title's lines.
void DrawFigureLetters(const Figure& f, FigurePicture& picture);

// The figure's label (a sweep's "t = 0,79") in the stroke font, its capitals as tall as the text's
// height, from the left edge of its box: the same pixels in every build, with a font library or not.
void DrawFigureLabels(const Figure& f, FigurePicture& picture);
