// The keys of a definitions file entry that shape an equation surface or plane sections:
// implicit, box, grid, families and planes.
#pragma once

#include <toml++/toml.h>

#include <string>

#include "surfaces/typed_surface.h"

struct ShapeKeyProblem {
    const toml::node* node = nullptr;   // where; null for the entry as a whole
    std::string       english, spanish;
};

// Reads the keys entry has into definition: an equation defaults to the sections x, y and z.
// False with the problem.
bool ReadShapeKeys(const toml::table& entry, SurfaceDefinition& definition, ShapeKeyProblem& problem);

// Writes the keys of definition that differ from a plain parametric surface's, and "families".
void WriteShapeKeys(const SurfaceDefinition& definition, toml::table& entry);
