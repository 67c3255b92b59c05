// The fields of an equation surface, read alike by the window's dialog and the page.
#include "session/equation_text.h"

#include <charconv>

#include "session/definition_text.h"
#include "surfaces/equation_surface.h"
#include "surfaces/quoted_text.h"

namespace {

// A whole number as typed, or 0 (refused by the check) when it is none.
int CountOf(std::string_view text)
{
    text = Trimmed(text);
    int n = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    return error == std::errc() && end == text.data() + text.size() ? n : 0;
}

}   // namespace

std::string BoxText(const std::array<double, 6>& box)
{
    std::string text;
    for (size_t i = 0; i < box.size(); ++i)
        text += (i ? ", " : "") + ShortestNumber(box[i]);
    return text;
}

EquationText EquationTextOf(const SurfaceDefinition& def)
{
    const SurfaceDefinition example;
    const bool equation = !def.equation.empty();
    const SurfaceDefinition& shape = equation ? def : example;
    return {equation ? def.equation : kExampleEquation, BoxText(shape.box), equation ? def.sections : "xyz",
            std::to_string(shape.grid), std::to_string(shape.planes)};
}

bool ReadEquationText(const EquationText& text, SurfaceDefinition& def, DefinitionProblem& problem)
{
    def.equation = text.equation;
    def.xyz = {};
    def.u = {};
    def.v = {};
    def.samples = kDefaultSamples;
    def.grid = CountOf(text.grid);
    def.planes = CountOf(text.planes);
    const std::vector<std::string_view> ends = Parts(text.box, ',', true);
    for (size_t i = 0; i < ends.size() && ends.size() == 6; ++i) {
        FormulaProblem why;
        const std::optional<double> end = EvaluateConstant(Trimmed(ends[i]), {}, why);
        if (!end) {
            problem = {DefinitionField::Box, {-1, "", QuoteSpanish(Trimmed(ends[i])) + ": " + why.spanish}};
            return false;
        }
        def.box[i] = *end;
    }
    if (ends.size() != 6) {
        problem = {DefinitionField::Box, {-1, "", QuoteSpanish(Trimmed(text.box)) +
                                                      " no es una caja; se aceptan seis números XMÍN, XMÁX, YMÍN, YMÁX, ZMÍN, ZMÁX, p. ej. -2, 2, -2, 2, -1, 1"}};
        return false;
    }
    const std::string families(Trimmed(text.families));
    if (!ReadFamilies(families, def.families, def.sections)) {
        problem = {DefinitionField::Families, {-1, "", QuoteSpanish(families) +
                                                           " no son familias de planos; se aceptan x, y, z, cada una una vez, p. ej. xyz o z"}};
        return false;
    }
    return true;
}
