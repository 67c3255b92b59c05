// The parameters and lets of a definition, for formulas of u and v and for equations alike: their
// names, values and ranges checked, the lets compiled in an order of evaluation.
#include "surfaces/typed_surface.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <unordered_set>

#include "surfaces/quoted_text.h"

namespace {

DefinitionProblem Problem(DefinitionField field, std::string english, std::string spanish)
{
    return {field, {-1, std::move(english), std::move(spanish)}};
}

bool BadName(const std::string& name, const char* what, const char* que, DefinitionField field, DefinitionProblem& problem)
{
    if (IsParameterName(name))
        return false;
    problem = Problem(field, Quote(name) + " cannot name a " + what + "; accepted: a letter, then letters, digits or _, not u, v, pi, e nor a function",
                      QuoteSpanish(name) + " no sirve como nombre de " + que + ": una letra y luego letras, cifras o _, que no sea u, v, pi, e ni una función");
    return true;
}

bool CheckRanges(const SurfaceDefinition& def, DefinitionProblem& problem)
{
    for (const ParameterRange& range : def.ranges) {
        const auto param = std::find_if(def.params.begin(), def.params.end(),
                                        [&](const NamedValue& p) { return p.first == range.name; });
        if (param == def.params.end()) {
            problem = Problem(DefinitionField::Params, "a range is given for " + Quote(range.name) + ", which is not a parameter",
                              "hay un intervalo para " + QuoteSpanish(range.name) + ", que no es un parámetro");
            return false;
        }
        if (!std::isfinite(range.least) || !std::isfinite(range.greatest) || !(range.least < range.greatest)) {
            problem = Problem(DefinitionField::Params, "the range of " + Quote(range.name) + " must have its least below its greatest",
                              "el intervalo de " + QuoteSpanish(range.name) + " debe tener el mínimo por debajo del máximo");
            return false;
        }
        if (param->second < range.least || param->second > range.greatest) {
            problem = Problem(DefinitionField::Params, "the value of " + Quote(range.name) + " lies outside its range",
                              "el valor de " + QuoteSpanish(range.name) + " queda fuera de su intervalo");
            return false;
        }
    }
    return true;
}

}   // namespace

bool CheckParameters(const SurfaceDefinition& def, DefinitionProblem& problem)
{
    if (def.params.size() > static_cast<size_t>(kMaxParameters)) {
        const std::string limit = std::to_string(kMaxParameters);
        problem = Problem(DefinitionField::Params, std::to_string(def.params.size()) + " parameters; accepted: at most " + limit,
                          std::to_string(def.params.size()) + " parámetros; se aceptan como mucho " + limit);
        return false;
    }
    std::unordered_set<std::string> names;
    for (const NamedValue& param : def.params) {
        if (BadName(param.first, "parameter", "parámetro", DefinitionField::Params, problem))
            return false;
        if (!std::isfinite(param.second)) {
            problem = Problem(DefinitionField::Params, "parameter " + Quote(param.first) + " is not a finite number",
                              "el parámetro " + QuoteSpanish(param.first) + " no es un número finito");
            return false;
        }
        if (!names.insert(param.first).second) {
            problem = Problem(DefinitionField::Params, "parameter " + Quote(param.first) + " is given twice",
                              "el parámetro " + QuoteSpanish(param.first) + " está dos veces");
            return false;
        }
    }
    return CheckRanges(def, problem);
}

void CompiledLets::Evaluate(double u, double v)
{
    for (size_t i : order)
        values[i] = formulas[i].At(u, v);
}

bool CompileLets(const SurfaceDefinition& def, CompiledLets& compiled, DefinitionProblem& problem,
                 const std::vector<BoundName>& extra)
{
    std::vector<BoundName> bound = extra;
    for (const NamedFormula& let : def.lets) {
        if (BadName(let.name, "let", "let", DefinitionField::Lets, problem))
            return false;
        const bool taken = std::any_of(def.params.begin(), def.params.end(), [&](const NamedValue& p) { return p.first == let.name; }) ||
                           std::count_if(def.lets.begin(), def.lets.end(), [&](const NamedFormula& l) { return l.name == let.name; }) > 1;
        if (taken) {
            problem = Problem(DefinitionField::Lets, Quote(let.name) + " is given twice (as a let or a parameter)",
                              QuoteSpanish(let.name) + " está dos veces (como let o como parámetro)");
            return false;
        }
        bound.push_back({let.name, &compiled.values.emplace_back(0.0)});
    }
    for (const NamedFormula& let : def.lets) {
        FormulaProblem formula;
        if (!compiled.formulas.emplace_back().Compile(let.text, def.params, formula, bound)) {
            problem = Problem(DefinitionField::Lets, let.name + ": " + formula.english, let.name + ": " + formula.spanish);
            return false;
        }
    }
    // Depth-first: 0 not seen, 1 on the current path, 2 placed.
    std::vector<int> state(def.lets.size(), 0);
    std::vector<size_t> path;
    std::function<bool(size_t)> place = [&](size_t i) {
        if (state[i] == 2)
            return true;
        if (state[i] == 1) {
            std::string round;
            for (auto it = std::find(path.begin(), path.end(), i); it != path.end(); ++it)
                round += def.lets[*it].name + " -> ";
            round += def.lets[i].name;
            problem = Problem(DefinitionField::Lets, "the lets use each other in a circle: " + round,
                              "los let se usan entre sí en círculo: " + round);
            return false;
        }
        state[i] = 1;
        path.push_back(i);
        for (size_t j = 0; j < def.lets.size(); ++j)
            if (compiled.formulas[i].Uses(def.lets[j].name) && !place(j))
                return false;
        path.pop_back();
        state[i] = 2;
        compiled.order.push_back(i);
        return true;
    };
    for (size_t i = 0; i < def.lets.size(); ++i)
        if (!place(i))
            return false;
    return true;
}
