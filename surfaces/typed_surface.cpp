// Sampling a typed surface once into a wireframe: formulas, limits, the grid and its facets, fit.
#include "surfaces/typed_surface.h"

#include <algorithm>
#include <cmath>
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

bool Check(const SurfaceDefinition& def, Checked& checked, DefinitionProblem& problem,
           std::array<Formula, 3>* formulas)
{
    if (def.params.size() > static_cast<size_t>(kMaxParameters)) {
        const std::string limit = std::to_string(kMaxParameters);
        problem = Problem(DefinitionField::Params, std::to_string(def.params.size()) + " parameters; accepted: at most " + limit,
                          std::to_string(def.params.size()) + " parámetros; se aceptan como mucho " + limit);
        return false;
    }
    std::unordered_set<std::string> names;
    for (const NamedValue& param : def.params) {
        if (!IsParameterName(param.first)) {
            problem = Problem(DefinitionField::Params, Quote(param.first) + " cannot name a parameter; accepted: a letter, then letters, digits or _, not u, v, pi, e nor a function",
                              QuoteSpanish(param.first) + " no sirve como nombre de parámetro: una letra y luego letras, cifras o _, que no sea u, v, pi, e ni una función");
            return false;
        }
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
    if (characters * lines * def.samples > kMaxFormulaWork) {
        const std::string limit = std::to_string(kMaxFormulaWork), most = std::to_string(kMaxFormulaWork / characters);
        problem = Problem(DefinitionField::Samples,
                          std::to_string(lines * def.samples) + " samples of formulas " + std::to_string(characters) +
                              " characters long; accepted: characters times samples at most " + limit + ", here at most " + most + " samples",
                          std::to_string(lines * def.samples) + " muestras de fórmulas de " + std::to_string(characters) +
                              " caracteres; se aceptan caracteres por muestras hasta " + limit + ", aquí como mucho " + most + " muestras");
        return false;
    }
    std::array<Formula, 3> local;
    std::array<Formula, 3>& compiled = formulas ? *formulas : local;
    for (int i = 0; i < 3; ++i) {
        FormulaProblem formula;
        if (!compiled[static_cast<size_t>(i)].Compile(def.xyz[static_cast<size_t>(i)], def.params, formula)) {
            problem = {static_cast<DefinitionField>(i), formula};
            return false;
        }
    }
    for (const NamedValue& param : def.params)
        if (std::none_of(compiled.begin(), compiled.end(), [&](const Formula& f) { return f.Uses(param.first); })) {
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
                                      "v lines", "samples", "parameters", "surface"};
    return kNames[static_cast<int>(field)];
}

const char* FieldNameSpanish(DefinitionField field)
{
    constexpr const char* kNames[] = {"x", "y", "z", "inicio de u", "final de u", "líneas de u", "inicio de v",
                                      "final de v", "líneas de v", "muestras", "parámetros", "superficie"};
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

bool CheckDefinition(const SurfaceDefinition& definition, DefinitionProblem& problem)
{
    Checked checked;
    return Check(definition, checked, problem, nullptr);
}

std::optional<Wireframe> BuildTypedSurface(const SurfaceDefinition& def, DefinitionProblem& problem,
                                           const std::atomic<bool>* cancel)
{
    Checked checked;
    std::array<Formula, 3> f;
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
                recorder.Sample({f[0].At(u, v), f[1].At(u, v), f[2].At(u, v)}, s == 0);
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
    if (def.fit)
        FitWireframe(wire, kFitRadius);
    return wire;
}

bool FitWireframe(Wireframe& wire, double radius)
{
    constexpr double kInf = std::numeric_limits<double>::infinity();
    Vec3 low{kInf, kInf, kInf}, high{-kInf, -kInf, -kInf};
    bool any = false;
    for (std::uint32_t i = 0; i < wire.Size(); ++i) {
        if (!Finite(wire, i))
            continue;
        any = true;
        low = {std::min(low.x, wire.xs[i]), std::min(low.y, wire.ys[i]), std::min(low.z, wire.zs[i])};
        high = {std::max(high.x, wire.xs[i]), std::max(high.y, wire.ys[i]), std::max(high.z, wire.zs[i])};
    }
    if (!any)
        return false;
    // Halves first, so huge coordinates do not overflow on the way to the centre.
    const Vec3 centre{low.x / 2 + high.x / 2, low.y / 2 + high.y / 2, low.z / 2 + high.z / 2};
    double farthest = 0.0;
    for (std::uint32_t i = 0; i < wire.Size(); ++i)
        if (Finite(wire, i))
            farthest = std::max(farthest, std::hypot(wire.xs[i] - centre.x, wire.ys[i] - centre.y, wire.zs[i] - centre.z));
    const double scale = farthest > 0.0 && std::isfinite(farthest) ? radius / farthest : 1.0;
    for (std::uint32_t i = 0; i < wire.Size(); ++i) {
        wire.xs[i] = (wire.xs[i] - centre.x) * scale;
        wire.ys[i] = (wire.ys[i] - centre.y) * scale;
        wire.zs[i] = (wire.zs[i] - centre.z) * scale;
    }
    return true;
}
