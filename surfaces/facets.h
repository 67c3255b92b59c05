// The facets of the built-in surfaces, made from their recorded lines: the triangles that hide
// what lies behind a surface.
#pragma once

#include <cstdint>
#include <vector>

#include "surfaces/registry.h"
#include "surfaces/wireframe.h"

// The point indices of each parameter line of wire, in tracing order (separate segments skipped).
std::vector<std::vector<std::uint32_t>> LinesOf(const Wireframe& wire);

// Two triangles for each pair of consecutive samples of two lines, pairing sample j of the one
// with sample j of the other; the shorter line bounds the pairs.
void AddFacetsBetween(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b,
                      std::vector<std::uint32_t>& triangles);

// Fills wire.triangles for built-in surface kind from its recorded lines: between consecutive
// lines of its first family, closed where the surface closes; between consecutive steps of the
// staircases. Other kinds are left as they are.
void AddBuiltinFacets(SurfaceKind kind, Wireframe& wire);
