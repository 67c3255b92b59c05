// The fields of an equation surface as a dialog holds them, read alike by the window and the page:
// the equation, the box "-2, 2, -2, 2, -1, 1", the families of planes "xyz", the grid and the planes.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "surfaces/typed_surface.h"

constexpr char kExampleEquation[] = "x^2 + y^2 + z^2 = 1";   // what "Ecuación" offers first

struct EquationText {
    std::string equation, box, families, grid, planes;
};

// The fields of definition's equation (the example's when it has none).
EquationText EquationTextOf(const SurfaceDefinition& definition);

// Makes definition an equation surface of the fields: no formulas of u and v, only the plane
// sections. False with the problem at its field (a box that is not six numbers, families that are
// not some of x, y, z); grid and planes that are no whole number become 0, which the check refuses.
bool ReadEquationText(const EquationText& text, SurfaceDefinition& definition, DefinitionProblem& problem);

// The box as typed: six numbers parted by commas, in their shortest exact form.
std::string BoxText(const std::array<double, 6>& box);
