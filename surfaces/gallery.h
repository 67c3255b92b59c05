// The gallery of classical surfaces and the user's own: definitions files read into the registry.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "surfaces/definitions_file.h"
#include "surfaces/registry.h"

// Where the gallery file is: $VEXILON_GALLERY when set; else share/vexilon/gallery.toml beside
// the program's prefix (installed), else gallery.toml beside the program (the build tree).
std::string GalleryPath();

// Adds definition under the next number, traced on first use; kSurfaceNone when its id is taken.
SurfaceKind AddDefinition(SurfaceRegistry& registry, const SurfaceDefinition& definition);

// The definition that AddDefinition put into Surfaces() under number, while it is still there.
std::optional<SurfaceDefinition> DefinitionOf(SurfaceKind number);

// Adds the good entries of read to registry in order; an id already taken becomes a problem
// naming the file and the entry's line. Returns the numbers added.
std::vector<SurfaceKind> AddDefinitions(SurfaceRegistry& registry, const DefinitionsRead& read,
                                        const std::string& file, std::vector<FileProblem>& problems);

struct GalleryState {
    SurfaceKind              last = kBuiltinSurfaceCount;   // the gallery takes the numbers up to it
    std::vector<FileProblem> problems;                      // a missing or broken file, bad entries
};

// Reads the gallery into Surfaces() after the eight, once a process; later calls return the same.
// Must run before anything else is added to Surfaces().
const GalleryState& LoadGallery();
bool GalleryLoaded();   // whether LoadGallery has run in this process
