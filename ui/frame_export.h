// Saving the shown frame: the file's format from its name, and the same bytes as the command line.
#pragma once

#include <string>
#include <string_view>

#include "geometry/view_state.h"
#include "render/raster_canvas.h"
#include "surfaces/surface_kind.h"

enum class ImageFormat { Png, Svg };

// SVG for a name ending in ".svg" in any case; PNG for every other name.
ImageFormat ImageFormatOf(std::string_view path);

// The name ending in ".png" or ".svg" (any case) as it is; any other gets the extension of chosen.
std::string WithImageExtension(std::string path, ImageFormat chosen);

// "toro.png": the surface's command-line name; "vexilon" when no surface is drawn.
std::string ImageFileName(SurfaceKind kind, ImageFormat format);

// Writes the frame atomically in the format of the path's name. PNG is the shown picture itself;
// SVG draws the frame again from a copy of frameView, the view as it was just before the shown
// frame updated its camera, so both camera updates start from the same record. On failure
// returns false with the reason in error.
bool WriteFrameImage(const std::string& path, const RasterCanvas& picture, const ViewState& frameView,
                     std::string& error);
