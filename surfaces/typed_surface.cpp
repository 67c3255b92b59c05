// Sampling a typed surface once into a wireframe: formulas, limits, the grid and its facets, fit.
#include "surfaces/typed_surface.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <limits>

#include "surfaces/equation_surface.h"
#include "surfaces/parametric_sections.h"
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

// The formulas of a definition compiled: the lets, and x, y, z.
struct Compiled {
    CompiledLets           lets;
    std::array<Formula, 3> xyz;

    Vec3 At(double u, double v)
    {
        lets.Evaluate(u, v);
        return {xyz[0].At(u, v), xyz[1].At(u, v), xyz[2].At(u, v)};
    }
};

// The plane-section families of a parametric surface: at least one family of lines in all.
bool CheckSections(const SurfaceDefinition& def, DefinitionProblem& problem)
{
    if (def.families == Families::None && def.sections.empty()) {
        problem = Problem(DefinitionField::Families, "no family of lines; accepted: u, v, x, y or z",
                          "ninguna familia de líneas; se aceptan u, v, x, y o z");
        return false;
    }
    if (!def.sections.empty() && (def.planes < 1 || def.planes > kMaxPlanes)) {
        const std::string limit = std::to_string(kMaxPlanes);
        problem = Problem(DefinitionField::Planes, std::to_string(def.planes) + " planes; accepted: 1 to " + limit,
                          std::to_string(def.planes) + " planos; se aceptan de 1 a " + limit);
        return false;
    }
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
    if (!CheckParameters(def, problem))
        return false;
    if (!ReadAxis(def.u, def.params, DefinitionField::UFrom, checked.u, problem) ||
        !ReadAxis(def.v, def.params, DefinitionField::VFrom, checked.v, problem))
        return false;
    if (def.samples < 2 || def.samples > kMaxSamplesPerLine) {
        problem = Problem(DefinitionField::Samples, std::to_string(def.samples) + " samples a line; accepted: 2 to " + std::to_string(kMaxSamplesPerLine),
                          std::to_string(def.samples) + " muestras por línea; se aceptan de 2 a " + std::to_string(kMaxSamplesPerLine));
        return false;
    }
    const bool drawU = def.families == Families::U || def.families == Families::UV;
    const bool drawV = def.families == Families::V || def.families == Families::UV;
    const long lines = (drawU ? checked.u.lines : 0) + (drawV ? checked.v.lines : 0);
    if (!CheckSections(def, problem))
        return false;
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
    // Sections sample the whole grid of samples × samples.
    const long long samples = lines * def.samples + (def.sections.empty() ? 0 : static_cast<long long>(def.samples) * def.samples);
    if (characters * samples > kMaxFormulaWork) {
        const std::string limit = std::to_string(kMaxFormulaWork), most = std::to_string(kMaxFormulaWork / characters);
        problem = Problem(DefinitionField::Samples,
                          std::to_string(samples) + " samples of formulas " + std::to_string(characters) +
                              " characters long; accepted: characters times samples at most " + limit + ", here at most " + most + " samples",
                          std::to_string(samples) + " muestras de fórmulas de " + std::to_string(characters) +
                              " caracteres; se aceptan caracteres por muestras hasta " + limit + ", aquí como mucho " + most + " muestras");
        return false;
    }
    Compiled local;
    Compiled& compiled = formulas ? *formulas : local;
    if (!CompileLets(def, compiled.lets, problem))
        return false;
    for (int i = 0; i < 3; ++i) {
        FormulaProblem formula;
        if (!CompileNaming(compiled.xyz[static_cast<size_t>(i)], def.xyz[static_cast<size_t>(i)], def.params, formula, compiled.lets.bound)) {
            problem = {static_cast<DefinitionField>(i), formula};
            return false;
        }
    }
    auto used = [&](const std::string& name) {
        return std::any_of(compiled.xyz.begin(), compiled.xyz.end(), [&](const Formula& f) { return f.Uses(name); }) ||
               std::any_of(compiled.lets.formulas.begin(), compiled.lets.formulas.end(), [&](const Formula& f) { return f.Uses(name); });
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
                                      "v lines", "samples", "parameters", "surface", "let",
                                      "equation", "box", "grid", "families", "planes"};
    return kNames[static_cast<int>(field)];
}

const char* FieldNameSpanish(DefinitionField field)
{
    constexpr const char* kNames[] = {"x", "y", "z", "inicio de u", "final de u", "líneas de u", "inicio de v",
                                      "final de v", "líneas de v", "muestras", "parámetros", "superficie", "let",
                                      "ecuación", "caja", "rejilla", "familias", "planos"};
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

std::vector<double> SweepValues(double from, double to, int count)
{
    std::vector<double> values;
    for (int k = 0; k < count; ++k) {
        const double t = count == 1 ? 0.0 : static_cast<double>(k) / (count - 1);
        values.push_back(from * (1.0 - t) + to * t);
    }
    return values;
}

void FitAsDefined(Wireframe& wire, const SurfaceDefinition& definition)
{
    if (definition.fit && definition.fitEachAxis)
        ScaleAxesToSameExtent(wire);
    if (definition.fit)
        FitWireframe(wire, kFitRadius);
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
    // Each text is compiled alone, so a formula that fails for another reason hides nothing. Past
    // the cap on lets nothing is compiled: checking the definition refuses it at once.
    std::vector<std::string> unused;
    if (definition.lets.size() > static_cast<size_t>(kMaxLets))
        return unused;
    std::unordered_map<std::string, BoundName> bound;
    std::deque<double> letValues;
    for (const NamedFormula& let : definition.lets)
        bound.emplace(let.name, BoundName{let.name, &letValues.emplace_back(0.0)});
    std::vector<std::string> texts(definition.xyz.begin(), definition.xyz.end());
    double coordinates[3] = {};
    if (!definition.equation.empty()) {   // only which names are read matters: F = G read as F - G
        texts = {definition.equation};
        for (size_t i = 0; i < texts[0].size(); ++i)
            if (texts[0][i] == '=' && (i == 0 || std::string_view("<>!=").find(texts[0][i - 1]) == std::string_view::npos) &&
                (i + 1 == texts[0].size() || texts[0][i + 1] != '='))
                texts[0][i] = '-';
        for (int a = 0; a < 3; ++a) {
            const std::string name(1, static_cast<char>('x' + a));
            bound.emplace(name, BoundName{name, &coordinates[a]});
        }
    }
    for (const NamedFormula& let : definition.lets)
        texts.push_back(let.text);
    std::vector<Formula> formulas(texts.size());
    std::vector<bool> compiled(texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
        FormulaProblem ignored;
        compiled[i] = CompileNaming(formulas[i], texts[i], definition.params, ignored, bound);
    }
    for (const NamedValue& param : definition.params) {
        bool used = false;
        for (size_t i = 0; i < texts.size() && !used; ++i)
            used = compiled[i] && formulas[i].Uses(param.first);
        if (!used && !UsedByDerived(definition, param.first))
            unused.push_back(param.first);
    }
    return unused;
}

bool CheckDefinition(const SurfaceDefinition& definition, DefinitionProblem& problem)
{
    if (!definition.equation.empty())
        return CheckEquationSurface(definition, problem);
    Checked checked;
    return Check(definition, checked, problem, nullptr);
}

std::optional<Wireframe> BuildTypedSurface(const SurfaceDefinition& def, DefinitionProblem& problem,
                                           const std::atomic<bool>* cancel)
{
    if (!def.equation.empty())
        return BuildEquationSurface(def, problem, cancel);
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
    const bool drawU = def.families == Families::U || def.families == Families::UV;
    const bool drawV = def.families == Families::V || def.families == Families::UV;
    if ((drawU && !family(us, vAlong, true)) || (drawV && !family(vs, uAlong, false))) {
        problem = {};
        return std::nullopt;
    }
    Wireframe wire = recorder.Take();
    if (drawU)
        AddFacets(wire, 0, checked.u.lines, def.samples);
    else if (drawV)
        AddFacets(wire, 0, checked.v.lines, def.samples);
    if (!def.sections.empty() &&
        !AddParametricSections(wire, def, checked.u.from, checked.u.to, checked.v.from, checked.v.to,
                               [&](double u, double v) { return f.At(u, v); }, !drawU && !drawV, cancel)) {
        problem = {};
        return std::nullopt;
    }
    bool anyFinite = false;
    for (std::uint32_t i = 0; i < wire.Size() && !anyFinite; ++i)
        anyFinite = Finite(wire, i);
    if (!anyFinite) {
        problem = Problem(DefinitionField::Whole, "no sample is a finite point; check the formulas and ranges",
                          "ninguna muestra es un punto finito; revise las fórmulas y los intervalos");
        return std::nullopt;
    }
    FitAsDefined(wire, def);
    return wire;
}
