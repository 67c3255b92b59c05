// The axes' letters as strokes, for a build without a font library (the page's).
#pragma once

#include "render/figure.h"
#include "render/figure_picture.h"

// Each text of the figure drawn into picture as strokes in its colour, a letter as tall as the
// text's height and as wide as a font's; the letters x, y and z only, others left out (the axes'
// labels are all a figure of the page writes).
void DrawFigureLetters(const Figure& f, FigurePicture& picture);
