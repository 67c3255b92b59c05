// The command line's equation surface and plane sections: --implicit, --box, --grid, --families
// and --planes.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "surfaces/typed_surface.h"

struct OwnSurfaceOptions;

// --box, --grid, --families and --planes as given: they shape the typed surface, an equation or
// the -s surface given by formulas.
struct ShapeOptions {
    std::optional<std::array<double, 6>> box;
    std::optional<int>                   grid;
    std::optional<std::string>           families;   // already known to be good
    std::optional<int>                   planes;

    bool Any() const { return box || grid || families || planes; }
};

// Whether option is one of these five.
bool IsShapeOption(std::string_view option);

// Reads one of them into options; false with the message.
bool ReadShapeOption(OwnSurfaceOptions& options, std::string_view option, std::string_view value, std::string& error);

// Puts the options given on definition; false with the message when --box or --grid is given for
// a surface that is not an equation's.
bool ApplyShape(const ShapeOptions& shape, SurfaceDefinition& definition, std::string& error);
