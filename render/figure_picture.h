// A figure's lines as pixels: an indexed picture of any size, drawn with the frame's line walk.
#pragma once

#include <cstdint>
#include <vector>

#include "render/canvas.h"
#include "render/figure.h"

// width x height palette indices, row after row; colours numbered as first used (up to 256).
struct FigurePicture {
    int width = 0, height = 0;
    std::vector<Rgb>          palette;
    std::vector<std::uint8_t> indices;

    std::uint8_t IndexOf(Rgb colour);   // past 256 colours the last entry is reused
    Rgb ColourAt(int col, int row) const { return palette[indices[static_cast<std::size_t>(row) * width + col]]; }
};

// The figure's background, outline and lines, each line end the pixel its point lies in, each line
// lineWidth pixels across, dashes measured along the path. Texts are left to the caller.
void RasterizeFigure(const Figure& figure, FigurePicture& out);
