// A figure as text documents: SVG with coordinates to the hundredth of a pixel, and a TikZ picture.
#pragma once

#include <string>

#include "render/figure.h"

// The whole SVG document, width x height pixels.
std::string FigureSvg(const Figure& figure);

// A tikzpicture for \input in a LaTeX document (needs \usepackage{tikz}); the square is
// the figure's printed width wide, coordinates in cm with y up, the colours defined in the file itself.
std::string FigureTikz(const Figure& figure);
