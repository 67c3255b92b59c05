// The rules of "Definir…" that the window's dialog and the page's share: what a preview draws
// and warns of, whether a definition may be saved, and a definition's parameters and lets written
// back into the one line each that the dialogs show.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "session/equation_text.h"
#include "surfaces/typed_surface.h"

constexpr char kCaptionNeeded[] = "Escriba un nombre para guardarla entre sus superficies.";

// The typed lines that are read, not copied, into definition: the parameters', then an equation's
// fields (none for formulas of u and v). As much as reads is kept; false with the first problem,
// the parameters' before the equation's.
bool ReadDefinitionTexts(std::string_view params, const EquationText* equation, SurfaceDefinition& definition,
                         DefinitionProblem& problem);

// What a preview draws of a definition: its parameters that no formula uses left out (one may be
// typed before the formula that uses it), and a warning of one sentence each ("" when none).
struct PreviewDefinition {
    SurfaceDefinition drawn;
    std::string       warning;
};
PreviewDefinition PreviewOf(SurfaceDefinition definition);

// Why definition may not be saved among the user's surfaces, whatever its formulas: a caption
// without a visible character names nothing in the list. "" when it may be.
std::string SaveRefusal(const SurfaceDefinition& definition);

// The parameters as "a=2, b=0.5" (each value to the bit) and the lets as "r=u*v; s=r^2".
std::string ParametersText(const std::vector<NamedValue>& params);
std::string LetsText(const std::vector<NamedFormula>& lets);
