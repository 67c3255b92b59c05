// The PNG encoding of a frame's picture.
#pragma once

#include <cstdio>

#include "render/figure_picture.h"
#include "render/raster_canvas.h"

// The visible 500 x 500 square of the picture as PNG: an indexed image when it has at most 256
// colours (a frame has three, which makes 2 bits a pixel), else 24-bit RGB. The same frame gives
// the same bytes from either picture.
bool WritePng(std::FILE* file, const RasterCanvas& picture);
bool WritePng(std::FILE* file, const IndexedCanvas& picture);
// A figure's picture at its own size, indexed as above.
bool WritePng(std::FILE* file, const FigurePicture& picture);
