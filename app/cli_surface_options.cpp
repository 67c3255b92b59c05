// Reading --x, --y, --z, --u, --v, --samples, --families, --param, --no-fit and --define.
#include "app/cli_surface_options.h"

#include <algorithm>
#include <memory>

#include "app/cli_values.h"
#include "surfaces/definitions_file.h"
#include "surfaces/gallery.h"

namespace {

constexpr char kTypedId[] = "formulas";   // the typed surface's name in the registry

std::string OptionOf(DefinitionField field)
{
    switch (field) {
    case DefinitionField::X: return "--x";
    case DefinitionField::Y: return "--y";
    case DefinitionField::Z: return "--z";
    case DefinitionField::UFrom: case DefinitionField::UTo: case DefinitionField::ULines: return "--u";
    case DefinitionField::VFrom: case DefinitionField::VTo: case DefinitionField::VLines: return "--v";
    case DefinitionField::Samples: return "--samples";
    case DefinitionField::Params: return "--param";
    case DefinitionField::Whole: break;
    }
    return "the typed surface";
}

// One line naming the problem; for a formula, a second line pointing at the place.
std::string TypedMessage(const SurfaceDefinition& def, const DefinitionProblem& problem)
{
    std::string message = OptionOf(problem.field) + ": " + problem.what.english;
    const int index = static_cast<int>(problem.field);
    if (index <= 2 && problem.what.position >= 0) {
        const std::string& text = def.xyz[static_cast<size_t>(index)];
        const size_t at = std::min(static_cast<size_t>(problem.what.position), text.size());
        message += "\n  " + text + "\n  " + std::string(at, ' ') + "^";
    }
    return message;
}

bool ReadAxis(ParameterAxis& axis, std::string_view option, std::string_view value, std::string& error)
{
    const std::vector<std::string_view> parts = SplitTopLevelCommas(value);
    std::optional<int> lines = kDefaultLines;
    if (parts.size() == 3)
        lines = ParseInt(parts[2]);
    if ((parts.size() != 2 && parts.size() != 3) || parts[0].empty() || parts[1].empty() || !lines) {
        error = std::string(option) + ": " + Quote(value) + " is not a range; accepted: A,B or A,B,N with N lines, e.g. 0,2*pi,25";
        return false;
    }
    axis = {std::string(parts[0]), std::string(parts[1]), *lines};
    return true;
}

// A definition loaded from a file, with its wireframe when it was already built for a check.
struct Loaded {
    SurfaceDefinition        definition;
    std::optional<Wireframe> built;
};

SurfaceKind AddLoaded(SurfaceRegistry& surfaces, std::shared_ptr<Loaded> loaded)
{
    const std::string id = loaded->definition.id, caption = loaded->definition.caption;
    return surfaces.Add(id, caption, [loaded] {
        if (loaded->built)
            return std::move(*loaded->built);
        DefinitionProblem problem;
        std::optional<Wireframe> wire = BuildTypedSurface(loaded->definition, problem);
        return wire ? std::move(*wire) : Wireframe{};
    });
}

}   // namespace

std::vector<std::string_view> SplitTopLevelCommas(std::string_view text)
{
    std::vector<std::string_view> parts;
    int depth = 0;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || (text[i] == ',' && depth == 0)) {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
        } else if (text[i] == '(') {
            ++depth;
        } else if (text[i] == ')' && depth > 0) {
            --depth;
        }
    }
    return parts;
}

bool ReadTypedOption(OwnSurfaceOptions& options, std::string_view option, std::string_view value, std::string& error)
{
    SurfaceDefinition& def = options.typed;
    if (option == "--define") {
        if (value.empty()) {
            error = "--define: the file name is empty; accepted: a TOML file of [[surface]] tables";
            return false;
        }
        options.defineFiles.emplace_back(value);
        return true;
    }
    options.typedOptions.emplace_back(option);
    if (option == "--x" || option == "--y" || option == "--z") {
        def.xyz[static_cast<size_t>(option[2] - 'x')] = std::string(value);
        return true;
    }
    if (option == "--u" || option == "--v")
        return ReadAxis(option == "--u" ? def.u : def.v, option, value, error);
    if (option == "--samples") {
        const std::optional<int> n = ParseInt(value);
        if (!n) {
            error = "--samples: " + Quote(value) + " is not a whole number; accepted: 2 to " + std::to_string(kMaxSamplesPerLine);
            return false;
        }
        def.samples = *n;
        return true;
    }
    if (option == "--families") {
        if (value != "u" && value != "v" && value != "uv") {
            error = "--families: " + Quote(value) + " is not a family; accepted: u, v or uv";
            return false;
        }
        def.families = value == "u" ? Families::U : value == "v" ? Families::V : Families::UV;
        return true;
    }
    if (option == "--param") {
        const size_t equals = value.find('=');
        const std::optional<double> number = equals == std::string_view::npos ? std::nullopt : ParseDouble(value.substr(equals + 1));
        if (!number) {
            error = "--param: " + Quote(value) + " is not NAME=VALUE; accepted: e.g. a=2.5";
            return false;
        }
        def.params.emplace_back(std::string(value.substr(0, equals)), *number);
        return true;
    }
    def.fit = false;   // --no-fit
    return true;
}

bool ResolveOwnSurfaces(SurfaceRegistry& surfaces, OwnSurfaceOptions& options, SurfaceKind& surface, bool surfaceGiven, std::string& error)
{
    if (options.pendingSurface || !options.defineFiles.empty() || !options.typedOptions.empty())
        LoadGallery(surfaces);   // numbered before the files' surfaces and the typed one
    std::vector<std::shared_ptr<Loaded>> loaded;
    std::vector<SurfaceKind> numbers;
    for (const std::string& file : options.defineFiles) {
        const DefinitionsRead read = ReadDefinitionsFile(file);
        std::vector<FileProblem> problems = read.problems;
        for (size_t i = 0; i < read.surfaces.size() && problems.empty(); ++i) {
            loaded.push_back(std::make_shared<Loaded>(Loaded{read.surfaces[i], std::nullopt}));
            numbers.push_back(AddLoaded(surfaces, loaded.back()));
            if (numbers.back() == kSurfaceNone)
                problems.push_back({file, read.lines[i], "surface " + Quote(read.surfaces[i].id) + ": the id is already taken; see --list", ""});
        }
        if (!problems.empty()) {
            error = "--define: " + DescribeFileProblem(problems.front());
            if (problems.size() > 1)
                error += "\n  (and " + std::to_string(problems.size() - 1) + " more problems in the file)";
            return false;
        }
    }
    const bool typed = !options.typedOptions.empty();
    if (typed) {
        for (const char* needed : {"--x", "--y", "--z", "--u", "--v"})
            if (std::find(options.typedOptions.begin(), options.typedOptions.end(), needed) == options.typedOptions.end()) {
                error = std::string("a typed surface needs --x, --y, --z, --u and --v; ") + needed + " is missing";
                return false;
            }
        if (surfaceGiven || options.pendingSurface) {
            error = "-s and a typed surface (--x, --y, --z) cannot be used together; accepted: one of them";
            return false;
        }
        options.typed.id = kTypedId;
        options.typed.caption = "Fórmulas";
        DefinitionProblem problem;
        std::optional<Wireframe> wire = BuildTypedSurface(options.typed, problem);
        if (!wire) {
            error = TypedMessage(options.typed, problem);
            return false;
        }
        auto built = std::make_shared<Wireframe>(std::move(*wire));
        surface = surfaces.Add(kTypedId, "Fórmulas", [built] { return std::move(*built); });
        return true;
    }
    if (options.pendingSurface) {
        const std::string& name = *options.pendingSurface;
        const SurfaceEntry* entry = surfaces.FindId(name);
        if (const std::optional<int> n = ParseInt(name); !entry && n && name[0] != '+')
            entry = surfaces.Find(*n);
        if (!entry) {
            error = "unknown surface " + Quote(name) + "; accepted: " + SurfacesAccepted(surfaces);
            if (!LoadGallery(surfaces).problems.empty())
                error += "\n  the gallery was not read whole: " + DescribeFileProblem(LoadGallery(surfaces).problems.front());
            return false;
        }
        surface = entry->number;
    } else if (!surfaceGiven && loaded.size() == 1) {
        surface = numbers.front();
    } else if (!surfaceGiven && loaded.size() > 1) {
        error = "--define: the files define " + std::to_string(loaded.size()) + " surfaces; pick one with -s ID";
        return false;
    }
    // A surface from a file is sampled now, so that its problems are told before any file is written.
    for (size_t i = 0; i < loaded.size(); ++i)
        if (numbers[i] == surface) {
            DefinitionProblem problem;
            loaded[i]->built = BuildTypedSurface(loaded[i]->definition, problem);
            if (!loaded[i]->built) {
                error = "--define: surface '" + loaded[i]->definition.id + "': " + problem.what.english;
                return false;
            }
        }
    return true;
}
