// A surface given by an equation F(x, y, z) = G(x, y, z) inside a box: its plane sections, traced
// as curves, and its facets, for hiding what lies behind it.
#pragma once

#include <atomic>
#include <optional>

#include "surfaces/typed_surface.h"

// Checks an equation surface's equation, box, grid, families and planes, its parameters and lets,
// without tracing it.
bool CheckEquationSurface(const SurfaceDefinition& definition, DefinitionProblem& problem);

// The sections of the equation by the planes x = c, y = c, z = c of its families, at
// c_k = min + (k + ½)(max − min)/planes, each piece one line, then the facets of a triangle mesh
// of the surface inside the box; fitted as typed surfaces are. Says so when the equation has no
// point in the box; nothing with an empty problem when cancel becomes true.
std::optional<Wireframe> BuildEquationSurface(const SurfaceDefinition& definition, DefinitionProblem& problem,
                                              const std::atomic<bool>* cancel = nullptr);

// Whether text names families of lines: u, v, x, y, z, each once, in any order, at least one.
// Sets families (u and v) and sections (of "xyz", in that order).
bool ReadFamilies(const std::string& text, Families& families, std::string& sections);

// The families of a definition as ReadFamilies reads them: "uv", "u", "z", "uvxyz", ...
std::string FamiliesText(const SurfaceDefinition& definition);
