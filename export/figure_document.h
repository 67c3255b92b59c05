// A figure as a PDF or an EPS written directly, for a build without cairo (the page): the same
// page size, paths, widths, caps, dashes and blends as cairo's documents of the figure, so that
// both print alike; the texts in the printer's Helvetica.
#pragma once

#include <cstdio>

#include "render/figure.h"

constexpr double kPrintedSideCm = 12.0;   // the square on the page, whatever its pixels

// The figure as a one-page PDF, or as an EPS (vector only: the stereo layers cover each other,
// as in cairo's); false when writing failed.
bool WriteFigurePdfDirect(std::FILE* file, const Figure& figure);
bool WriteFigureEpsDirect(std::FILE* file, const Figure& figure);
