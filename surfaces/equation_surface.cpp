// Equation surfaces: the equation compiled over x, y, z, its sections and its triangle mesh.
#include "surfaces/equation_surface.h"

#include <algorithm>
#include <cmath>
#include <charconv>
#include <memory>

#include "surfaces/contour.h"
#include "surfaces/equation_mesh.h"
#include "surfaces/quoted_text.h"

namespace {

DefinitionProblem Problem(DefinitionField field, std::string english, std::string spanish, int position = -1)
{
    return {field, {position, std::move(english), std::move(spanish)}};
}

// Where the equation's one '=' stands (not in ==, <=, >=, !=); npos when there is none, and
// twoSigns when there are several.
size_t EqualsSign(const std::string& text, bool& twoSigns)
{
    size_t found = std::string::npos;
    twoSigns = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '=')
            continue;
        const bool joined = (i > 0 && std::string_view("<>!=").find(text[i - 1]) != std::string_view::npos) ||
                            (i + 1 < text.size() && text[i + 1] == '=');
        if (joined)
            continue;
        twoSigns = twoSigns || found != std::string::npos;
        found = found == std::string::npos ? i : found;
    }
    return found;
}

const char* const kAxisNames[] = {"x", "y", "z"};

bool CheckShape(const SurfaceDefinition& def, DefinitionProblem& problem)
{
    for (int a = 0; a < 3; ++a) {
        const double lo = def.box[static_cast<size_t>(2 * a)], hi = def.box[static_cast<size_t>(2 * a + 1)];
        if (!std::isfinite(lo) || !std::isfinite(hi) || !(lo < hi) || !std::isfinite(hi - lo)) {
            const std::string range = ShortestNumber(lo) + "," + ShortestNumber(hi);
            problem = Problem(DefinitionField::Box,
                              std::string("the box's ") + kAxisNames[a] + " range " + range + " is empty or not finite; accepted: finite MIN,MAX with MIN < MAX",
                              std::string("el intervalo de ") + kAxisNames[a] + " de la caja " + range + " está vacío o no es finito; se acepta MÍN,MÁX finitos con MÍN < MÁX");
            return false;
        }
    }
    if (def.grid < 2 || def.grid > kMaxGrid) {
        const std::string limit = std::to_string(kMaxGrid);
        problem = Problem(DefinitionField::Grid, "grid " + std::to_string(def.grid) + "; accepted: 2 to " + limit,
                          "rejilla " + std::to_string(def.grid) + "; se acepta de 2 a " + limit);
        return false;
    }
    if (def.sections.empty() || def.families != Families::None) {
        problem = Problem(DefinitionField::Families, "an equation is drawn by its sections; accepted: families of x, y and z, e.g. xyz or z",
                          "una ecuación se dibuja por sus cortes; se aceptan familias de x, y y z, p. ej. xyz o z");
        return false;
    }
    if (def.planes < 1 || def.planes > kMaxPlanes) {
        const std::string limit = std::to_string(kMaxPlanes);
        problem = Problem(DefinitionField::Planes, std::to_string(def.planes) + " planes; accepted: 1 to " + limit,
                          std::to_string(def.planes) + " planos; se aceptan de 1 a " + limit);
        return false;
    }
    // The mesh evaluates the equation at every node of the grid, each section at every node of its plane.
    long long characters = static_cast<long long>(def.equation.size());
    for (const NamedFormula& let : def.lets)
        characters += static_cast<long long>(let.text.size());
    const long long n = def.grid + 1;
    const long long work = characters * (n * n * n + static_cast<long long>(def.sections.size()) * def.planes * n * n);
    if (work > kMaxFormulaWork) {
        const std::string limit = std::to_string(kMaxFormulaWork);
        problem = Problem(DefinitionField::Grid,
                          "grid " + std::to_string(def.grid) + " with " + std::to_string(def.planes) + " planes a family and formulas " +
                              std::to_string(characters) + " characters long is too much work; accepted: characters times evaluations at most " + limit,
                          "la rejilla " + std::to_string(def.grid) + " con " + std::to_string(def.planes) + " planos por familia y fórmulas de " +
                              std::to_string(characters) + " caracteres es demasiado trabajo; se aceptan caracteres por evaluaciones hasta " + limit);
        return false;
    }
    return true;
}

// Compiles the equation's sides and lets into f; false with the problem.
bool Compile(const SurfaceDefinition& def, EquationFunction& f, DefinitionProblem& problem)
{
    if (!CheckParameters(def, problem))
        return false;
    for (const char* axis : kAxisNames) {
        const bool param = std::any_of(def.params.begin(), def.params.end(), [&](const NamedValue& p) { return p.first == axis; });
        const bool let = std::any_of(def.lets.begin(), def.lets.end(), [&](const NamedFormula& l) { return l.name == axis; });
        if (param || let) {
            problem = Problem(param ? DefinitionField::Params : DefinitionField::Lets,
                              Quote(axis) + " is a coordinate of the equation; accepted: any other name",
                              QuoteSpanish(axis) + " es una coordenada de la ecuación; use otro nombre");
            return false;
        }
    }
    FormulaProblem formula;
    if (!CheckFormulaLimits(def.equation, formula)) {
        problem = {DefinitionField::Equation, formula};
        return false;
    }
    bool twoSigns = false;
    const size_t equals = EqualsSign(def.equation, twoSigns);
    if (twoSigns) {
        problem = Problem(DefinitionField::Equation, "the equation has more than one '='; accepted: F = G or F (meaning F = 0)",
                          "la ecuación tiene más de un «=»; se acepta F = G o F (que es F = 0)");
        return false;
    }
    const std::vector<BoundName> coordinates = {{"x", &f.x}, {"y", &f.y}, {"z", &f.z}};
    if (!CompileLets(def, f.lets, problem, coordinates))
        return false;
    std::vector<BoundName> bound = coordinates;
    for (size_t i = 0; i < def.lets.size(); ++i)
        bound.push_back({def.lets[i].name, &f.lets.values[i]});
    const std::string left = def.equation.substr(0, equals);
    if (!f.left.Compile(left, def.params, formula, bound)) {
        problem = {DefinitionField::Equation, formula};
        return false;
    }
    f.hasRight = equals != std::string::npos;
    // The right side behind as many spaces as the left took, so a problem's position counts in
    // the whole equation.
    const std::string right = std::string(equals + 1, ' ') + def.equation.substr(equals + 1);
    if (f.hasRight && !f.right.Compile(right, def.params, formula, bound)) {
        problem = {DefinitionField::Equation, formula};
        return false;
    }
    FormulaProblem ignored;   // past the length limit by its four parentheses: two evaluations then
    f.single = f.hasRight && f.difference.Compile("(" + left + ")-(" + def.equation.substr(equals + 1) + ")", def.params, ignored, bound);
    auto uses = [&](const char* name) {
        return f.left.Uses(name) || (f.hasRight && f.right.Uses(name)) ||
               std::any_of(f.lets.formulas.begin(), f.lets.formulas.end(), [&](const Formula& l) { return l.Uses(name); });
    };
    for (const char* name : {"u", "v"})
        if (uses(name)) {
            problem = Problem(DefinitionField::Equation, Quote(name) + " is not a variable of an equation; accepted: x, y, z, the parameters and the lets",
                              QuoteSpanish(name) + " no es una variable de una ecuación; se aceptan x, y, z, los parámetros y los let");
            return false;
        }
    for (const NamedValue& param : def.params)
        if (!uses(param.first.c_str())) {
            problem = Problem(DefinitionField::Params, "unknown parameter " + Quote(param.first) + ": no formula uses it",
                              "parámetro desconocido " + QuoteSpanish(param.first) + ": ninguna fórmula lo usa");
            return false;
        }
    return true;
}

DefinitionProblem TooFine(const SurfaceDefinition& def, const std::string& what, const std::string& que)
{
    const std::string grid = std::to_string(def.grid);
    return Problem(DefinitionField::Grid, "the surface is folded so finely at grid " + grid + " that it passes " + what + "; accepted: a smaller grid or fewer planes",
                   "la superficie está tan plegada con la rejilla " + grid + " que pasa de " + que + "; se acepta una rejilla menor o menos planos");
}

}   // namespace

bool ReadFamilies(const std::string& text, Families& families, std::string& sections)
{
    bool seen[5] = {};
    for (char c : text) {
        const size_t at = std::string_view("uvxyz").find(c);
        if (at == std::string_view::npos || seen[at])
            return false;
        seen[at] = true;
    }
    if (text.empty())
        return false;
    families = seen[0] && seen[1] ? Families::UV : seen[0] ? Families::U : seen[1] ? Families::V : Families::None;
    sections.clear();
    for (int a = 0; a < 3; ++a)
        if (seen[2 + a])
            sections += kAxisNames[a];
    return true;
}

std::string FamiliesText(const SurfaceDefinition& def)
{
    const char* lines = def.families == Families::UV ? "uv" : def.families == Families::U ? "u" : def.families == Families::V ? "v" : "";
    return lines + def.sections;
}

bool CheckEquationSurface(const SurfaceDefinition& def, DefinitionProblem& problem)
{
    EquationFunction f;
    return CheckShape(def, problem) && Compile(def, f, problem);
}

std::optional<Wireframe> BuildEquationSurface(const SurfaceDefinition& def, DefinitionProblem& problem,
                                              const std::atomic<bool>* cancel)
{
    auto f = std::make_unique<EquationFunction>();
    if (!CheckShape(def, problem) || !Compile(def, *f, problem))
        return std::nullopt;
    // The mesh first: it samples every node of the grid, and hands on the values of the section
    // planes lying on its layers.
    SharedSections shared = PlanSharedSections(def);
    Wireframe mesh;
    const size_t layer = static_cast<size_t>(def.grid + 1) * static_cast<size_t>(def.grid + 1);
    const size_t sectionRoom = std::min(def.sections.size() * static_cast<size_t>(def.planes) * 4 * static_cast<size_t>(def.grid + 1), 4 * layer);
    for (std::vector<double>* axis : {&mesh.xs, &mesh.ys, &mesh.zs})
        axis->reserve(kMeshVertexRoom * layer + sectionRoom);
    const MeshEnd meshEnd = AddMesh(def, *f, mesh, shared, cancel);
    if (meshEnd == MeshEnd::Cancelled) {
        problem = {};
        return std::nullopt;
    }
    WireframeRecorder recorder;
    long points = 0;
    std::vector<double> sampled;
    for (char name : def.sections) {
        const int axis = name - 'x', pAxis = axis == 0 ? 1 : 0, qAxis = axis == 2 ? 1 : 2;
        const double lo = def.box[static_cast<size_t>(2 * axis)], hi = def.box[static_cast<size_t>(2 * axis + 1)];
        const ContourGrid grid{def.box[static_cast<size_t>(2 * pAxis)], def.box[static_cast<size_t>(2 * pAxis + 1)],
                               def.box[static_cast<size_t>(2 * qAxis)], def.box[static_cast<size_t>(2 * qAxis + 1)], def.grid};
        for (int k = 0; k < def.planes; ++k) {
            if (cancel && cancel->load(std::memory_order_relaxed)) {
                problem = {};
                return std::nullopt;
            }
            const double c = SectionLevel(lo, hi, k, def.planes);
            auto point = [&](double p, double q) {
                double xyz[3];
                xyz[axis] = c;
                xyz[pAxis] = p;
                xyz[qAxis] = q;
                return Vec3{xyz[0], xyz[1], xyz[2]};
            };
            const auto F = [&](double p, double q) {
                const Vec3 at = point(p, q);
                return f->At(at.x, at.y, at.z);
            };
            const std::vector<double>* nodes = shared.Nodes(axis, c, def);
            if (!nodes) {   // row by row, q slowest, as the tracer reads them
                sampled.clear();
                for (int j = 0; j <= grid.cells; ++j) {
                    const double q = GridValue(grid.q0, grid.q1, j, grid.cells);
                    for (int i = 0; i <= grid.cells; ++i)
                        sampled.push_back(F(GridValue(grid.p0, grid.p1, i, grid.cells), q));
                }
                nodes = &sampled;
            }
            for (const ContourPiece& piece : TraceContour(F, grid, *nodes)) {
                if (piece.size() < 2)
                    continue;
                for (size_t s = 0; s < piece.size(); ++s)
                    recorder.Sample(point(piece[s].p, piece[s].q), s == 0);
                points += static_cast<long>(piece.size());
            }
            if (points > kMaxSamplesInAll) {
                problem = TooFine(def, std::to_string(kMaxSamplesInAll) + " points of sections", std::to_string(kMaxSamplesInAll) + " puntos de cortes");
                return std::nullopt;
            }
        }
    }
    if (meshEnd == MeshEnd::TooMany) {
        problem = TooFine(def, std::to_string(kMaxFacets) + " facets", std::to_string(kMaxFacets) + " facetas");
        return std::nullopt;
    }
    // The sections' points first, then the mesh's, its triangles counting from there: the
    // sections' points move in front of the mesh's, which has room for them and is the larger.
    Wireframe wire = recorder.Take();
    const size_t sectionPoints = wire.Size();
    for (auto [into, from] : {std::pair{&mesh.xs, &wire.xs}, std::pair{&mesh.ys, &wire.ys}, std::pair{&mesh.zs, &wire.zs}}) {
        into->insert(into->begin(), from->begin(), from->end());
        from->swap(*into);
    }
    for (std::uint32_t& corner : mesh.triangles)
        corner += static_cast<std::uint32_t>(sectionPoints);
    wire.triangles = std::move(mesh.triangles);
    if (sectionPoints == 0 && wire.triangles.empty()) {
        std::string box;
        for (size_t i = 0; i < 6; ++i)
            box += (i ? "," : "") + ShortestNumber(def.box[i]);
        problem = Problem(DefinitionField::Equation, "the equation has no point in the box " + box + "; accepted: an equation whose two sides meet inside the box",
                          "la ecuación no tiene ningún punto en la caja " + box + "; se acepta una ecuación cuyos lados se igualen dentro de la caja");
        return std::nullopt;
    }
    FitAsDefined(wire, def);
    return wire;
}
