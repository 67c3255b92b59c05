// The gallery of classical surfaces and the user's own: definitions files read into the registry.
#pragma once

#include <string>
#include <vector>

#include "surfaces/definitions_file.h"
#include "surfaces/registry.h"

// Where the gallery file is: $VEXILON_GALLERY when set; else share/vexilon/gallery.toml beside
// the program's prefix (installed), else gallery.toml beside the program (the build tree).
std::string GalleryPath();

// Adds definition under the next number, traced on first use; kSurfaceNone when its id is taken.
SurfaceKind AddDefinition(SurfaceRegistry& registry, const SurfaceDefinition& definition);


// Adds the good entries of read to registry in order; an id already taken becomes a problem
// naming the file and the entry's line. Returns the numbers added.
std::vector<SurfaceKind> AddDefinitions(SurfaceRegistry& registry, const DefinitionsRead& read,
                                        const std::string& file, std::vector<FileProblem>& problems);

// Reads the gallery into registry after the eight, once a registry; later calls return the same.
// Must run before anything else is added to registry.
const GalleryState& LoadGallery(SurfaceRegistry& registry);
