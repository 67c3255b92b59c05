// Equation surfaces: the equation compiled over x, y, z, its sections and its triangle mesh.
#include "surfaces/equation_surface.h"

#include <algorithm>
#include <cmath>
#include <charconv>
#include <memory>

#include "surfaces/contour.h"
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

// F − G at a point: the parsers read x, y, z and the lets through these addresses, so it never moves.
struct EquationFunction {
    double       x = 0.0, y = 0.0, z = 0.0;
    CompiledLets lets;
    Formula      left, right;
    Formula      difference;   // (F)-(G) as one formula: one evaluation a point instead of two
    bool         hasRight = false, single = false;

    double At(double px, double py, double pz)
    {
        x = px;
        y = py;
        z = pz;
        lets.Evaluate(0.0, 0.0);
        if (single)
            return difference.At(0.0, 0.0);
        return hasRight ? left.At(0.0, 0.0) - right.At(0.0, 0.0) : left.At(0.0, 0.0);
    }
};

const char* const kAxisNames[] = {"x", "y", "z"};
constexpr int     kMeshRefineSteps = 3;
constexpr long    kMaxFacets = 4000000;   // a surface folded in every cell of a fine grid: bounded memory   // the facets only hide: near enough is a few steps

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

// The triangles of F = 0 in the box by marching tetrahedra: each cube of the grid cut into six
// tetrahedra about its main diagonal, so neighbouring cubes agree on every face; each vertex
// refined onto the surface on its edge and shared by the triangles that meet there.
enum class MeshEnd { Done, Cancelled, TooMany };

MeshEnd AddMesh(const SurfaceDefinition& def, EquationFunction& f, Wireframe& wire, const std::atomic<bool>* cancel)
{
    const int n = def.grid;
    const size_t row = static_cast<size_t>(n) + 1, layer = row * row;
    auto coordinate = [&](int axis, int k) {
        return GridValue(def.box[static_cast<size_t>(2 * axis)], def.box[static_cast<size_t>(2 * axis + 1)], k, n);
    };
    std::vector<double> below(layer), above(layer);
    auto sample = [&](int k, std::vector<double>& values) {
        const double z = coordinate(2, k);
        for (int j = 0; j <= n; ++j)
            for (int i = 0; i <= n; ++i)
                values[static_cast<size_t>(j) * row + static_cast<size_t>(i)] = f.At(coordinate(0, i), coordinate(1, j), z);
    };
    // The vertex on each edge, by the edge's lower node and direction, for the nodes of the slab's
    // bottom layer and its top one; the top becomes the next slab's bottom.
    constexpr std::uint32_t kNone = 0xFFFFFFFFu;
    std::vector<std::uint32_t> bottom(layer * 8, kNone), top(layer * 8, kNone);
    constexpr int kTetrahedra[6][4] = {{0, 1, 3, 7}, {0, 1, 5, 7}, {0, 2, 3, 7}, {0, 2, 6, 7}, {0, 4, 5, 7}, {0, 4, 6, 7}};
    // A smooth surface across the box cuts a few n² cells, each into up to a dozen triangles: room
    // for that at once (untouched pages cost nothing), not by doubling.
    wire.triangles.reserve(wire.triangles.size() + 72 * layer);
    for (std::vector<double>* axis : {&wire.xs, &wire.ys, &wire.zs})
        axis->reserve(axis->size() + 12 * layer);
    sample(0, above);
    for (int k = 0; k < n; ++k) {
        if (cancel && cancel->load(std::memory_order_relaxed))
            return MeshEnd::Cancelled;
        if (wire.triangles.size() > 3 * static_cast<size_t>(kMaxFacets))
            return MeshEnd::TooMany;
        std::swap(below, above);
        sample(k + 1, above);
        if (k > 0) {
            std::swap(bottom, top);
            std::fill(top.begin(), top.end(), kNone);
        }
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i) {
                double value[8];
                for (int b = 0; b < 8; ++b)
                    value[b] = ((b & 4) ? above : below)[static_cast<size_t>(j + ((b >> 1) & 1)) * row + static_cast<size_t>(i + (b & 1))];
                auto vertex = [&](int a, int b) {   // corner a's bits are a subset of b's
                    const size_t node = static_cast<size_t>(j + ((a >> 1) & 1)) * row + static_cast<size_t>(i + (a & 1));
                    std::uint32_t& known = ((a & 4) ? top : bottom)[node * 8 + static_cast<size_t>(a ^ b)];
                    if (known != kNone)
                        return known;
                    const double ax = coordinate(0, i + (a & 1)), ay = coordinate(1, j + ((a >> 1) & 1)), az = coordinate(2, k + (a >> 2));
                    const double bx = coordinate(0, i + (b & 1)), by = coordinate(1, j + ((b >> 1) & 1)), bz = coordinate(2, k + (b >> 2));
                    const double t = RefineCrossing([&](double s) { return f.At(ax + s * (bx - ax), ay + s * (by - ay), az + s * (bz - az)); },
                                                    value[a], value[b], kMeshRefineSteps);
                    wire.xs.push_back(ax + t * (bx - ax));
                    wire.ys.push_back(ay + t * (by - ay));
                    wire.zs.push_back(az + t * (bz - az));
                    known = static_cast<std::uint32_t>(wire.xs.size() - 1);
                    return known;
                };
                auto edge = [&](int a, int b) { return a < b ? vertex(a, b) : vertex(b, a); };
                for (const auto& tet : kTetrahedra) {
                    int inside[4], outside[4], ni = 0, no = 0;
                    bool defined = true;
                    for (int c : tet) {
                        defined = defined && !std::isnan(value[c]);
                        (value[c] > 0.0 ? inside[ni++] : outside[no++]) = c;
                    }
                    if (!defined || ni == 0 || no == 0)
                        continue;
                    if (ni == 1 || no == 1) {   // one corner apart: a triangle about it
                        const int lone = ni == 1 ? inside[0] : outside[0];
                        const int* rest = ni == 1 ? outside : inside;
                        const std::uint32_t p = edge(lone, rest[0]), q = edge(lone, rest[1]), r = edge(lone, rest[2]);
                        for (std::uint32_t corner : {p, q, r})
                            wire.triangles.push_back(corner);
                    } else {   // two and two: a quadrilateral, as two triangles
                        const std::uint32_t p = edge(inside[0], outside[0]), q = edge(inside[0], outside[1]);
                        const std::uint32_t r = edge(inside[1], outside[1]), s = edge(inside[1], outside[0]);
                        for (std::uint32_t corner : {p, q, r, p, r, s})
                            wire.triangles.push_back(corner);
                    }
                }
            }
    }
    return MeshEnd::Done;
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
    WireframeRecorder recorder;
    long points = 0;
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
            const double c = lo + (k + 0.5) * (hi - lo) / def.planes;
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
            for (const ContourPiece& piece : TraceContour(F, grid)) {
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
    Wireframe wire = recorder.Take();
    const size_t sectionPoints = wire.Size();
    if (const MeshEnd end = AddMesh(def, *f, wire, cancel); end != MeshEnd::Done) {
        problem = end == MeshEnd::Cancelled ? DefinitionProblem{}
                                            : TooFine(def, std::to_string(kMaxFacets) + " facets", std::to_string(kMaxFacets) + " facetas");
        return std::nullopt;
    }
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
