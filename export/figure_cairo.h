// A figure through cairo: PDF and EPS documents of its vector paths and texts, and its texts as
// glyphs on its picture.
#pragma once

#include <cstdio>

#include "render/figure.h"
#include "render/figure_picture.h"


// The figure as a one-page PDF, or as an EPS (vector only: the stereo layers cover each other
// there, as PostScript cannot add colours up); false when writing failed.
bool WriteFigurePdf(std::FILE* file, const Figure& figure);
bool WriteFigureEps(std::FILE* file, const Figure& figure);

// The figure's texts drawn into its picture as aliased glyphs of the text's colour.
void DrawFigureTexts(const Figure& figure, FigurePicture& picture);
