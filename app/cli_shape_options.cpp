// Reading --implicit, --box, --grid, --families and --planes.
#include "app/cli_shape_options.h"

#include "app/cli_surface_options.h"
#include "app/cli_values.h"
#include "app/translation.h"
#include "surfaces/equation_surface.h"

bool IsShapeOption(std::string_view option)
{
    return option == "--implicit" || option == "--box" || option == "--grid" || option == "--families" || option == "--planes";
}

bool ReadShapeOption(OwnSurfaceOptions& options, std::string_view option, std::string_view value, std::string& error)
{
    ShapeOptions& shape = options.shape;
    if (option == "--implicit") {
        if (value.empty()) {
            error = Tr("--implicit: the equation is empty; accepted: an equation in x, y, z, e.g. x^2+y^2+z^2=1");
            return false;
        }
        options.typedOptions.emplace_back(option);
        options.typed.equation = std::string(value);
        options.typed.families = Families::None;
        options.typed.sections = "xyz";
        return true;
    }
    if (option == "--box") {
        const std::vector<std::string_view> parts = SplitTopLevelCommas(value);
        std::array<double, 6> box{};
        for (size_t i = 0; parts.size() == 6 && i < 6; ++i) {
            FormulaProblem problem;
            const std::optional<double> end = EvaluateConstant(parts[i], {}, problem);
            if (!end)
                break;
            box[i] = *end;
            if (i == 5) {
                shape.box = box;
                return true;
            }
        }
        error = TrFormat("--box: %1 is not a box; accepted: six numbers XMIN,XMAX,YMIN,YMAX,ZMIN,ZMAX, e.g. -2,2,-2,2,-1,1", {Quote(value)});
        return false;
    }
    if (option == "--families") {
        Families families;
        std::string sections;
        if (!ReadFamilies(std::string(value), families, sections)) {
            error = TrFormat("--families: %1 is not a family; accepted: u, v, x, y, z, each once, e.g. uv, z or uvz", {Quote(value)});
            return false;
        }
        shape.families = std::string(value);
        return true;
    }
    const bool grid = option == "--grid";
    const int most = grid ? kMaxGrid : kMaxPlanes, least = grid ? 2 : 1;
    const std::optional<int> n = ParseInt(value);
    if (!n || *n < least || *n > most) {
        error = TrFormat("%1: %2 is out of range; accepted: a whole number from %3 to %4",
                         {std::string(option), Quote(value), std::to_string(least), std::to_string(most)});
        return false;
    }
    (grid ? shape.grid : shape.planes) = *n;
    return true;
}

bool ApplyShape(const ShapeOptions& shape, SurfaceDefinition& def, std::string& error)
{
    if ((shape.box || shape.grid) && def.equation.empty()) {
        error = TrFormat("%1: only a surface given by an equation has a box and a grid; accepted: with --implicit or an equation of the gallery",
                         {shape.box ? "--box" : "--grid"});
        return false;
    }
    if (shape.box)
        def.box = *shape.box;
    if (shape.grid)
        def.grid = *shape.grid;
    if (shape.planes)
        def.planes = *shape.planes;
    if (shape.families)
        ReadFamilies(*shape.families, def.families, def.sections);
    return true;
}
