// Writing output files whole or not at all, and the PNG and SVG encodings of a frame.
#pragma once

#include <functional>
#include <string>

#include "render/raster_canvas.h"

// Writes through a temporary file beside path and renames it into place, so that a reader never
// sees a half-written file and a failure leaves nothing behind. On failure returns false and sets
// error to a sentence naming the reason.
bool WriteFileAtomically(const std::string& path, const std::function<bool(std::FILE*)>& write,
                         std::string& error);

// The visible 500 x 500 square of the picture as PNG: an indexed image when it has at most 256
// colours (a frame has three, which makes 2 bits a pixel), else 24-bit RGB. The same frame gives
// the same bytes from either picture.
bool WritePng(std::FILE* file, const RasterCanvas& picture);
bool WritePng(std::FILE* file, const IndexedCanvas& picture);
