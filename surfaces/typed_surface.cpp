// Sampling a typed surface once into a wireframe: formulas, limits, the grid and its facets, fit.
#include "surfaces/typed_surface.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <functional>
#include <limits>
#include <unordered_set>

#include "surfaces/quoted_text.h"

namespace {

struct Axis {
    double from = 0.0, to = 0.0;
    int    lines = 0;
};

DefinitionProblem Problem(DefinitionField field, std::string english, std::string spanish, int position = -1)
{
    return {field, {position, std::move(english), std::move(spanish)}};
}

bool ReadAxis(const ParameterAxis& axisGiven, const std::vector<NamedValue>& params, DefinitionField from,
              Axis& axis, DefinitionProblem& problem)
{
    const DefinitionField to = static_cast<DefinitionField>(static_cast<int>(from) + 1);
    const DefinitionField lines = static_cast<DefinitionField>(static_cast<int>(from) + 2);
    FormulaProblem formula;
    const std::optional<double> a = EvaluateConstant(axisGiven.from, params, formula);
    if (!a) {
        problem = {from, formula};
        return false;
    }
    const std::optional<double> b = EvaluateConstant(axisGiven.to, params, formula);
    if (!b) {
        problem = {to, formula};
        return false;
    }
    if (axisGiven.lines < 1 || axisGiven.lines > kMaxLinesPerFamily) {
        problem = Problem(lines, std::to_string(axisGiven.lines) + " lines; accepted: 1 to " + std::to_string(kMaxLinesPerFamily),
                          std::to_string(axisGiven.lines) + " líneas; se aceptan de 1 a " + std::to_string(kMaxLinesPerFamily));
        return false;
    }
    if (!std::isfinite(*b - *a)) {
        problem = Problem(to, "the range is too wide to sample", "el intervalo es demasiado ancho para muestrearlo");
        return false;
    }
    if (*a == *b) {
        problem = Problem(to, "the range is empty (start and end are equal)",
                          "el intervalo está vacío (el inicio y el final son iguales)");
        return false;
    }
    axis = {*a, *b, axisGiven.lines};
    return true;
}

struct Checked {
    Axis u, v;
};

// The formulas of a definition compiled: the lets in an order where each comes after those it
// reads, their values where x, y and z read them, and x, y, z.
struct Compiled {
    std::deque<double>     letValues;   // the parsers keep these addresses
    std::deque<Formula>    lets;        // in the definition's order
    std::vector<size_t>    order;       // the order of evaluation
    std::array<Formula, 3> xyz;

    Vec3 At(double u, double v)
    {
        for (size_t i : order)
            letValues[i] = lets[i].At(u, v);
        return {xyz[0].At(u, v), xyz[1].At(u, v), xyz[2].At(u, v)};
    }
};

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

// Compiles the lets and finds an order in which each follows the lets it reads; a let that reads
// itself, directly or through others, is refused naming the round.
bool CompileLets(const SurfaceDefinition& def, Compiled& compiled, DefinitionProblem& problem)
{
    std::vector<BoundName> bound;
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
        bound.push_back({let.name, &compiled.letValues.emplace_back(0.0)});
    }
    for (const NamedFormula& let : def.lets) {
        FormulaProblem formula;
        if (!compiled.lets.emplace_back().Compile(let.text, def.params, formula, bound)) {
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
            if (compiled.lets[i].Uses(def.lets[j].name) && !place(j))
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

// Whether another parameter's formula reads name.
bool UsedByDerived(const SurfaceDefinition& definition, const std::string& name)
{
    return std::any_of(definition.derived.begin(), definition.derived.end(), [&](const NamedFormula& d) {
        Formula formula;
        FormulaProblem ignored;
        return d.name != name && formula.Compile(d.text, definition.params, ignored) && formula.Uses(name);
    });
}

bool Check(const SurfaceDefinition& def, Checked& checked, DefinitionProblem& problem, Compiled* formulas)
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
    if (!CheckRanges(def, problem))
        return false;
    if (!ReadAxis(def.u, def.params, DefinitionField::UFrom, checked.u, problem) ||
        !ReadAxis(def.v, def.params, DefinitionField::VFrom, checked.v, problem))
        return false;
    if (def.samples < 2 || def.samples > kMaxSamplesPerLine) {
        problem = Problem(DefinitionField::Samples, std::to_string(def.samples) + " samples a line; accepted: 2 to " + std::to_string(kMaxSamplesPerLine),
                          std::to_string(def.samples) + " muestras por línea; se aceptan de 2 a " + std::to_string(kMaxSamplesPerLine));
        return false;
    }
    const long lines = (def.families != Families::V ? checked.u.lines : 0) + (def.families != Families::U ? checked.v.lines : 0);
    if (lines * def.samples > kMaxSamplesInAll) {
        problem = Problem(DefinitionField::Samples, std::to_string(lines * def.samples) + " samples in all; accepted: at most " + std::to_string(kMaxSamplesInAll),
                          std::to_string(lines * def.samples) + " muestras en total; se aceptan como mucho " + std::to_string(kMaxSamplesInAll));
        return false;
    }
    long long characters = 0;
    for (int i = 0; i < 3; ++i) {
        FormulaProblem formula;
        if (!CheckFormulaLimits(def.xyz[static_cast<size_t>(i)], formula)) {
            problem = {static_cast<DefinitionField>(i), formula};
            return false;
        }
        characters += static_cast<long long>(def.xyz[static_cast<size_t>(i)].size());
    }
    for (const NamedFormula& let : def.lets)   // each let is evaluated at every sample too
        characters += static_cast<long long>(let.text.size());
    if (characters * lines * def.samples > kMaxFormulaWork) {
        const std::string limit = std::to_string(kMaxFormulaWork), most = std::to_string(kMaxFormulaWork / characters);
        problem = Problem(DefinitionField::Samples,
                          std::to_string(lines * def.samples) + " samples of formulas " + std::to_string(characters) +
                              " characters long; accepted: characters times samples at most " + limit + ", here at most " + most + " samples",
                          std::to_string(lines * def.samples) + " muestras de fórmulas de " + std::to_string(characters) +
                              " caracteres; se aceptan caracteres por muestras hasta " + limit + ", aquí como mucho " + most + " muestras");
        return false;
    }
    Compiled local;
    Compiled& compiled = formulas ? *formulas : local;
    if (!CompileLets(def, compiled, problem))
        return false;
    std::vector<BoundName> bound;
    for (size_t i = 0; i < def.lets.size(); ++i)
        bound.push_back({def.lets[i].name, &compiled.letValues[i]});
    for (int i = 0; i < 3; ++i) {
        FormulaProblem formula;
        if (!compiled.xyz[static_cast<size_t>(i)].Compile(def.xyz[static_cast<size_t>(i)], def.params, formula, bound)) {
            problem = {static_cast<DefinitionField>(i), formula};
            return false;
        }
    }
    auto used = [&](const std::string& name) {
        return std::any_of(compiled.xyz.begin(), compiled.xyz.end(), [&](const Formula& f) { return f.Uses(name); }) ||
               std::any_of(compiled.lets.begin(), compiled.lets.end(), [&](const Formula& f) { return f.Uses(name); });
    };
    for (const NamedValue& param : def.params)
        if (!used(param.first) && !UsedByDerived(def, param.first)) {
            problem = Problem(DefinitionField::Params, "unknown parameter " + Quote(param.first) + ": no formula uses it",
                              "parámetro desconocido " + QuoteSpanish(param.first) + ": ninguna fórmula lo usa");
            return false;
        }
    return true;
}

bool Finite(const Wireframe& wire, std::uint32_t i)
{
    return std::isfinite(wire.xs[i]) && std::isfinite(wire.ys[i]) && std::isfinite(wire.zs[i]);
}

// Two triangles for each cell between neighbouring lines; lines start at first, each samples long.
void AddFacets(Wireframe& wire, std::uint32_t first, int lines, int samples)
{
    const std::uint32_t n = static_cast<std::uint32_t>(samples);
    for (std::uint32_t line = 0; line + 1 < static_cast<std::uint32_t>(lines); ++line)
        for (std::uint32_t s = 0; s + 1 < n; ++s) {
            const std::uint32_t a = first + line * n + s, b = a + 1, c = a + n, d = c + 1;
            if (!Finite(wire, a) || !Finite(wire, b) || !Finite(wire, c) || !Finite(wire, d))
                continue;
            wire.triangles.insert(wire.triangles.end(), {a, b, d, a, d, c});
        }
}

}   // namespace

const char* FieldName(DefinitionField field)
{
    constexpr const char* kNames[] = {"x", "y", "z", "u start", "u end", "u lines", "v start", "v end",
                                      "v lines", "samples", "parameters", "surface", "let"};
    return kNames[static_cast<int>(field)];
}

const char* FieldNameSpanish(DefinitionField field)
{
    constexpr const char* kNames[] = {"x", "y", "z", "inicio de u", "final de u", "líneas de u", "inicio de v",
                                      "final de v", "líneas de v", "muestras", "parámetros", "superficie", "let"};
    return kNames[static_cast<int>(field)];
}

std::vector<double> AxisValues(double from, double to, int lines)
{
    std::vector<double> values;
    if (lines == 1)
        return {from};
    const double span = to - from;
    for (int i = 0; i < lines; ++i)
        values.push_back(i + 1 == lines ? to : from + i * span / (lines - 1));
    return values;
}

bool SetParameter(SurfaceDefinition& definition, const std::string& name, double value)
{
    auto& params = definition.params;
    const auto set = std::find_if(params.begin(), params.end(), [&](const NamedValue& p) { return p.first == name; });
    if (set == params.end())
        return false;
    set->second = value;
    std::erase_if(definition.derived, [&](const NamedFormula& d) { return d.name == name; });
    for (size_t i = 0; i < params.size(); ++i)
        for (const NamedFormula& d : definition.derived)
            if (d.name == params[i].first) {
                const std::vector<NamedValue> earlier(params.begin(), params.begin() + static_cast<std::ptrdiff_t>(i));
                FormulaProblem ignored;
                params[i].second = EvaluateConstant(d.text, earlier, ignored).value_or(NAN);
            }
    return true;
}

std::vector<std::string> UnusedParameters(const SurfaceDefinition& definition)
{
    // Each parameter is tried alone, so a formula that fails for another reason hides nothing.
    std::vector<std::string> unused;
    std::vector<BoundName> bound;
    std::deque<double> letValues;
    for (const NamedFormula& let : definition.lets)
        bound.push_back({let.name, &letValues.emplace_back(0.0)});
    std::vector<std::string> texts(definition.xyz.begin(), definition.xyz.end());
    for (const NamedFormula& let : definition.lets)
        texts.push_back(let.text);
    for (const NamedValue& param : definition.params) {
        bool used = false;
        for (const std::string& text : texts) {
            Formula formula;
            FormulaProblem ignored;
            used = used || (formula.Compile(text, definition.params, ignored, bound) && formula.Uses(param.first));
        }
        if (!used && !UsedByDerived(definition, param.first))
            unused.push_back(param.first);
    }
    return unused;
}

bool CheckDefinition(const SurfaceDefinition& definition, DefinitionProblem& problem)
{
    Checked checked;
    return Check(definition, checked, problem, nullptr);
}

std::optional<Wireframe> BuildTypedSurface(const SurfaceDefinition& def, DefinitionProblem& problem,
                                           const std::atomic<bool>* cancel)
{
    Checked checked;
    Compiled f;
    if (!Check(def, checked, problem, &f))
        return std::nullopt;
    const std::vector<double> us = AxisValues(checked.u.from, checked.u.to, checked.u.lines);
    const std::vector<double> vs = AxisValues(checked.v.from, checked.v.to, checked.v.lines);
    const std::vector<double> uAlong = AxisValues(checked.u.from, checked.u.to, def.samples);
    const std::vector<double> vAlong = AxisValues(checked.v.from, checked.v.to, def.samples);
    WireframeRecorder recorder;
    auto cancelled = [cancel] { return cancel && cancel->load(std::memory_order_relaxed); };
    auto family = [&](const std::vector<double>& fixed, const std::vector<double>& along, bool fixedIsU) {
        for (double c : fixed) {
            if (cancelled())
                return false;
            for (size_t s = 0; s < along.size(); ++s) {
                const double u = fixedIsU ? c : along[s], v = fixedIsU ? along[s] : c;
                recorder.Sample(f.At(u, v), s == 0);
            }
        }
        return true;
    };
    const bool drawU = def.families != Families::V, drawV = def.families != Families::U;
    if ((drawU && !family(us, vAlong, true)) || (drawV && !family(vs, uAlong, false))) {
        problem = {};
        return std::nullopt;
    }
    Wireframe wire = recorder.Take();
    if (drawU)
        AddFacets(wire, 0, checked.u.lines, def.samples);
    else
        AddFacets(wire, 0, checked.v.lines, def.samples);
    bool anyFinite = false;
    for (std::uint32_t i = 0; i < wire.Size() && !anyFinite; ++i)
        anyFinite = Finite(wire, i);
    if (!anyFinite) {
        problem = Problem(DefinitionField::Whole, "no sample is a finite point; check the formulas and ranges",
                          "ninguna muestra es un punto finito; revise las fórmulas y los intervalos");
        return std::nullopt;
    }
    if (def.fit && def.fitEachAxis)
        ScaleAxesToSameExtent(wire);
    if (def.fit)
        FitWireframe(wire, kFitRadius);
    return wire;
}
