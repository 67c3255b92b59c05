// The command line's own surfaces: a typed surface from --x/--y/--z and the rest, and files of
// definitions from --define; checked and put into the registry once all options are read.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "surfaces/registry.h"
#include "surfaces/typed_surface.h"

struct OwnSurfaceOptions {
    SurfaceDefinition          typed;             // from --x, --y, --z, --u, --v, ...
    std::vector<std::string>   typedOptions;      // which of those were given, for the checks
    std::vector<std::string>   defineFiles;       // --define, in order
    std::optional<std::string> pendingSurface;    // -s with a name the registry does not know yet
};

// Each reads one option's value into options; false with the message (without the program's
// name) in error. option is the spelling the user gave, e.g. "--u".
bool ReadTypedOption(OwnSurfaceOptions& options, std::string_view option, std::string_view value, std::string& error);

// Loads the --define files and the typed surface into surfaces and picks the surface to draw:
// -s (given, or pending until the files were read), the typed surface, or a file's only entry.
// surface is kSurfaceNone when nothing picks one. False with a message of one or two lines.
bool ResolveOwnSurfaces(SurfaceRegistry& surfaces, OwnSurfaceOptions& options, SurfaceKind& surface, bool surfaceGiven, std::string& error);

// The parts of text between commas that stand outside parentheses: "0,atan2(1,2),9" has three.
std::vector<std::string_view> SplitTopLevelCommas(std::string_view text);
