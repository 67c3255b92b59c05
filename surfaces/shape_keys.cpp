// Reading and writing implicit, box, grid, families and planes.
#include "surfaces/shape_keys.h"

#include "surfaces/equation_surface.h"

namespace {

bool Fail(ShapeKeyProblem& problem, const toml::node* node, std::string english, std::string spanish)
{
    problem = {node, std::move(english), std::move(spanish)};
    return false;
}

bool ReadCount(const toml::node* node, const char* key, int most, int& count, ShapeKeyProblem& problem)
{
    const auto n = node->value_exact<int64_t>();
    if (!n || *n < 1 || *n > most)
        return Fail(problem, node, std::string("'") + key + "' must be a whole number from 1 to " + std::to_string(most),
                    std::string("«") + key + "» debe ser un número entero de 1 a " + std::to_string(most));
    count = static_cast<int>(*n);
    return true;
}

}   // namespace

bool ReadShapeKeys(const toml::table& entry, SurfaceDefinition& def, ShapeKeyProblem& problem)
{
    if (const toml::node* node = entry.get("implicit")) {
        const auto text = node->value_exact<std::string>();
        if (!text || text->empty())
            return Fail(problem, node, "'implicit' must be an equation in quotes, e.g. \"x^2 + y^2 + z^2 = 1\"",
                        "«implicit» debe ser una ecuación entre comillas, p. ej. \"x^2 + y^2 + z^2 = 1\"");
        def.equation = *text;
        def.families = Families::None;
        def.sections = "xyz";
    }
    if (const toml::node* node = entry.get("box")) {
        const toml::array* ends = node->as_array();
        bool good = ends && ends->size() == 6;
        for (size_t i = 0; good && i < 6; ++i) {
            const toml::node& end = *ends->get(i);
            good = end.is_integer() || end.is_floating_point();
            if (good)
                def.box[i] = *end.value<double>();
        }
        if (!good)
            return Fail(problem, node, "'box' must be [XMIN, XMAX, YMIN, YMAX, ZMIN, ZMAX], six numbers",
                        "«box» debe ser [XMÍN, XMÁX, YMÍN, YMÁX, ZMÍN, ZMÁX], seis números");
    }
    if (const toml::node* node = entry.get("grid"); node && !ReadCount(node, "grid", kMaxGrid, def.grid, problem))
        return false;
    if (const toml::node* node = entry.get("planes"); node && !ReadCount(node, "planes", kMaxPlanes, def.planes, problem))
        return false;
    if (const toml::node* node = entry.get("families")) {
        const auto text = node->value_exact<std::string>();
        if (!text || !ReadFamilies(*text, def.families, def.sections))
            return Fail(problem, node, "'families' must be some of u, v, x, y, z, each once, e.g. \"uv\" or \"z\"",
                        "«families» debe tener algunas de u, v, x, y, z, cada una una vez, p. ej. \"uv\" o \"z\"");
    }
    return true;
}

void WriteShapeKeys(const SurfaceDefinition& def, toml::table& entry)
{
    entry.insert("families", FamiliesText(def));
    if (!def.sections.empty())
        entry.insert("planes", int64_t{def.planes});
    if (def.equation.empty())
        return;
    entry.insert("implicit", def.equation);
    entry.insert("box", toml::array{def.box[0], def.box[1], def.box[2], def.box[3], def.box[4], def.box[5]});
    entry.insert("grid", int64_t{def.grid});
}
