// The parameters and lets of a definition, for formulas of u and v and for equations alike: their
// names, values and ranges checked, the lets compiled in an order of evaluation.
#include "surfaces/typed_surface.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>
#include <unordered_map>
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
        if (!std::isfinite(range.greatest - range.least)) {   // a slider over it would give only infinities
            problem = Problem(DefinitionField::Params, "the range of " + Quote(range.name) + " spans more than a number holds; accepted: ends less than about 1.7e308 apart",
                              "el intervalo de " + QuoteSpanish(range.name) + " abarca más de lo que cabe en un número; se aceptan extremos separados por menos de 1,7e308");
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

// The bound names among the words of text. A word that is no name (a number's exponent, a
// function) merely finds nothing.
std::vector<BoundName> NamesIn(std::string_view text, const std::unordered_map<std::string, BoundName>& bound)
{
    std::vector<BoundName> found;
    auto wordChar = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    for (size_t i = 0; i < text.size();) {
        if (!wordChar(text[i])) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < text.size() && wordChar(text[end]))
            ++end;
        const auto name = bound.find(std::string(text.substr(i, end - i)));
        if (name != bound.end() && std::none_of(found.begin(), found.end(), [&](const BoundName& b) { return b.value == name->second.value; }))
            found.push_back(name->second);
        i = end;
    }
    return found;
}

}   // namespace

bool CompileNaming(Formula& formula, const std::string& text, const std::vector<NamedValue>& params,
                   FormulaProblem& problem, const std::unordered_map<std::string, BoundName>& bound)
{
    if (formula.Compile(text, params, problem, NamesIn(text, bound)))
        return true;
    std::vector<BoundName> all;
    for (const auto& [name, value] : bound)
        all.push_back(value);
    std::sort(all.begin(), all.end(), [](const BoundName& a, const BoundName& b) { return a.name < b.name; });
    formula.Compile(text, params, problem, all);
    return false;
}

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
    if (def.lets.size() > static_cast<size_t>(kMaxLets)) {
        const std::string limit = std::to_string(kMaxLets);
        problem = Problem(DefinitionField::Lets, std::to_string(def.lets.size()) + " lets; accepted: at most " + limit,
                          std::to_string(def.lets.size()) + " let; se aceptan como mucho " + limit);
        return false;
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
    std::unordered_set<std::string_view> params;
    for (const NamedValue& p : def.params)
        params.insert(p.first);
    for (const BoundName& name : extra)
        compiled.bound.emplace(name.name, name);
    std::unordered_map<std::string_view, size_t> index;
    for (const NamedFormula& let : def.lets) {
        if (BadName(let.name, "let", "let", DefinitionField::Lets, problem))
            return false;
        if (params.count(let.name) || !index.emplace(let.name, index.size()).second) {
            problem = Problem(DefinitionField::Lets, Quote(let.name) + " is given twice (as a let or a parameter)",
                              QuoteSpanish(let.name) + " está dos veces (como let o como parámetro)");
            return false;
        }
        compiled.bound.emplace(let.name, BoundName{let.name, &compiled.values.emplace_back(0.0)});
    }
    std::vector<std::vector<size_t>> reads(def.lets.size());
    for (size_t i = 0; i < def.lets.size(); ++i) {
        const NamedFormula& let = def.lets[i];
        FormulaProblem formula;
        if (!CompileNaming(compiled.formulas.emplace_back(), let.text, def.params, formula, compiled.bound)) {
            problem = Problem(DefinitionField::Lets, let.name + ": " + formula.english, let.name + ": " + formula.spanish);
            return false;
        }
        for (const BoundName& name : NamesIn(let.text, compiled.bound))
            if (index.count(name.name) && compiled.formulas[i].Uses(name.name))
                reads[i].push_back(index.at(name.name));
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
        for (size_t j : reads[i])
            if (!place(j))
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
