// The command line's own surfaces: a typed surface from --x/--y/--z and the rest, and files of
// definitions from --define; checked and put into the registry once all options are read.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/cli_shape_options.h"
#include "surfaces/registry.h"
#include "surfaces/typed_surface.h"

// --sweep NAME=A:B: the parameter's value runs from A to B over the frames, ends included.
struct ParameterSweep {
    std::string name;
    double      from = 0.0, to = 0.0;
};

// How a surface given by formulas is brought to the square: --fit and --no-fit.
enum class FitChoice { Uniform, Box, None };

struct OwnSurfaceOptions {
    SurfaceDefinition              typed;             // from --x, --y, --z, --u, --v, --let, ...
    std::vector<std::string>       typedOptions;      // which of those were given, for the checks
    std::vector<std::string>       defineFiles;       // --define, in order
    std::optional<std::string>     pendingSurface;    // -s with a name the registry does not know yet
    std::vector<NamedValue>        params;            // --param, in order, each already a number
    std::vector<NamedFormula>      paramFormulas;     // those given as formulas, which follow the earlier ones
    std::vector<ParameterRange>    paramRanges;       // of those given as [LEAST, GREATEST, VALUE]
    std::optional<FitChoice>       fit;               // --fit or --no-fit
    std::optional<ParameterSweep>  sweep;
    ShapeOptions                   shape;             // --box, --grid, --families, --planes
    // The definition of the surface drawn, with --param and --fit applied, when they are given or
    // a sweep needs it; without it the registry's wireframe is drawn.
    std::optional<SurfaceDefinition> drawn;
};

// Each reads one option's value into options; false with the message (without the program's
// name) in error. option is the spelling the user gave, e.g. "--u".
bool ReadTypedOption(OwnSurfaceOptions& options, std::string_view option, std::string_view value, std::string& error);

// Loads the --define files and the typed surface into surfaces and picks the surface to draw:
// -s (given, or pending until the files were read), the typed surface, or a file's only entry.
// surface is kSurfaceNone when nothing picks one. --param, --fit and --sweep are applied to the
// definition of the surface picked, into options.drawn. False with a message of one or two lines.
bool ResolveOwnSurfaces(SurfaceRegistry& surfaces, OwnSurfaceOptions& options, SurfaceKind& surface, bool surfaceGiven, std::string& error);

// The wireframe of definition with the sweep's parameter at value; nothing with the problem said.
std::optional<Wireframe> BuildSweptSurface(SurfaceDefinition definition, const std::string& name, double value,
                                           std::string& error);


// The parts of text between commas that stand outside parentheses: "0,atan2(1,2),9" has three.
std::vector<std::string_view> SplitTopLevelCommas(std::string_view text);
