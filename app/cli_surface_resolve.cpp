// The command line's own surfaces once all options are read: the --define files and the typed
// surface put into the registry, the surface picked, and --param, --fit and --sweep applied to it.
#include "app/cli_surface_options.h"

#include <algorithm>
#include <memory>

#include "app/cli_values.h"
#include "app/translation.h"
#include "surfaces/definitions_file.h"
#include "surfaces/gallery.h"

namespace {

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
    case DefinitionField::Lets: return "--let";
    case DefinitionField::Equation: return "--implicit";
    case DefinitionField::Box: return "--box";
    case DefinitionField::Grid: return "--grid";
    case DefinitionField::Families: return "--families";
    case DefinitionField::Planes: return "--planes";
    case DefinitionField::Whole: break;
    }
    return "the typed surface";
}

// One line naming the problem; for a formula, a second line showing the place, escaped and cut
// short around it, and a third pointing at it.
std::string TypedMessage(const SurfaceDefinition& def, const DefinitionProblem& problem)
{
    constexpr size_t kExcerptWidth = 60;
    // A formula's problem is said in both languages already: the one of the user's messages.
    std::string message = OptionOf(problem.field) + ": " + (SpanishMessages() ? problem.what.spanish : Said(problem.what));
    const int index = static_cast<int>(problem.field);
    if ((index <= 2 || problem.field == DefinitionField::Equation) && problem.what.position >= 0) {
        const std::string& text = index <= 2 ? def.xyz[static_cast<size_t>(index)] : def.equation;
        size_t column = 0;
        const std::string excerpt = EscapedExcerpt(text, static_cast<size_t>(problem.what.position), kExcerptWidth, column);
        message += "\n  " + excerpt + "\n  " + std::string(column, ' ') + "^";
    }
    return message;
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

// --param, --fit and --sweep put on the definition drawn; false with the message.
bool ApplyOverrides(OwnSurfaceOptions& options, SurfaceDefinition& def, std::string& error)
{
    auto accepted = [&] {
        std::string names;
        for (const NamedValue& param : def.params)
            names += (names.empty() ? "" : ", ") + param.first;
        return names.empty() ? std::string(Tr("it has none")) : TrFormat("accepted: %1", {names});
    };
    auto unbounded = [&](const std::string& name) {   // the command line may go past a slider's range
        def.ranges.erase(std::remove_if(def.ranges.begin(), def.ranges.end(), [&](const ParameterRange& r) { return r.name == name; }),
                         def.ranges.end());
    };
    for (const NamedValue& param : options.params) {
        if (!SetParameter(def, param.first, param.second)) {
            error = TrFormat("--param: surface %1 has no parameter %2; %3", {Quote(def.id), Quote(param.first), accepted()});
            return false;
        }
        unbounded(param.first);
    }
    if (options.sweep) {
        if (!SetParameter(def, options.sweep->name, options.sweep->from)) {
            error = TrFormat("--sweep: surface %1 has no parameter %2; %3", {Quote(def.id), Quote(options.sweep->name), accepted()});
            return false;
        }
        unbounded(options.sweep->name);
    }
    if (options.fit) {
        def.fit = *options.fit != FitChoice::None;
        def.fitEachAxis = *options.fit == FitChoice::Box;
    }
    return ApplyShape(options.shape, def, error);
}

// --param, --fit and --sweep on the -s surface or a file's: its definition with them, checked.
bool ResolveOverrides(const SurfaceRegistry& surfaces, OwnSurfaceOptions& options, SurfaceKind surface,
                      const std::vector<std::shared_ptr<Loaded>>& loaded,
                      const std::vector<SurfaceKind>& numbers, std::string& error)
{
    if (options.params.empty() && !options.fit && !options.sweep && !options.shape.Any())
        return true;
    const char* option = options.sweep ? "--sweep" : !options.params.empty() ? "--param" : options.fit ? "--fit" : "--families";
    if (surface == kSurfaceNone) {
        error = TrFormat("%1 needs a surface given by formulas; accepted: with --x, --y, --z, or -s with a gallery or --define surface", {std::string(option)});
        return false;
    }
    std::optional<SurfaceDefinition> def;
    for (size_t i = 0; i < loaded.size(); ++i)
        if (numbers[i] == surface)
            def = loaded[i]->definition;
    if (const SurfaceEntry* entry = surfaces.Find(surface); !def && entry->definition)
        def = *entry->definition;
    if (!def) {
        error = TrFormat("%1: surface %2 is not given by formulas and has no parameters nor fit; accepted: a gallery, "
                         "--define or typed surface",
                         {option, Quote(surfaces.Find(surface)->id)});
        return false;
    }
    if (!ApplyOverrides(options, *def, error))
        return false;
    DefinitionProblem problem;
    if (!CheckDefinition(*def, problem)) {
        error = TrFormat("surface %1: %2: %3", {Quote(def->id), FieldLabel(problem.field), Said(problem.what)});
        return false;
    }
    options.drawn = std::move(def);
    return true;
}

}   // namespace

std::optional<Wireframe> BuildSweptSurface(SurfaceDefinition definition, const std::string& name, double value,
                                           std::string& error)
{
    SetParameter(definition, name, value);
    DefinitionProblem problem;
    std::optional<Wireframe> wire = BuildTypedSurface(definition, problem);
    if (!wire)
        error = TrFormat("--sweep: at %1 = %2: %3: %4", {name, ShortestNumber(value), FieldLabel(problem.field), Said(problem.what)});
    return wire;
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
            error = TrFormat("--define: %1", {DescribeFileProblem(problems.front())});
            if (problems.size() > 1)
                error += TrFormat("\n  (and %1 more problems in the file)", {std::to_string(problems.size() - 1)});
            return false;
        }
    }
    const bool typed = !options.typedOptions.empty();
    if (typed) {
        auto given = [&](const char* name) {
            return std::find(options.typedOptions.begin(), options.typedOptions.end(), name) != options.typedOptions.end();
        };
        const bool equation = given("--implicit");
        for (const char* formula : {"--x", "--y", "--z", "--u", "--v", "--samples"})
            if (equation && given(formula)) {
                error = TrFormat("--implicit and %1 cannot be used together; accepted: an equation, or formulas of u and v", {formula});
                return false;
            }
        for (const char* needed : {"--x", "--y", "--z", "--u", "--v"})
            if (!equation && !given(needed)) {
                error = TrFormat("a typed surface needs --x, --y, --z, --u and --v; %1 is missing", {needed});
                return false;
            }
        if (surfaceGiven || options.pendingSurface) {
            error = Tr("-s and a typed surface (--x, --y, --z) cannot be used together; accepted: one of them");
            return false;
        }
        options.typed.id = kTypedSurfaceId;
        options.typed.caption = equation ? "Ecuación" : "Fórmulas";
        if (!ApplyShape(options.shape, options.typed, error))
            return false;
        options.typed.params = options.params;
        options.typed.derived = options.paramFormulas;
        options.typed.ranges = options.paramRanges;
        if (options.sweep && !SetParameter(options.typed, options.sweep->name, options.sweep->from))
            options.typed.params.emplace_back(options.sweep->name, options.sweep->from);
        if (options.fit) {
            options.typed.fit = *options.fit != FitChoice::None;
            options.typed.fitEachAxis = *options.fit == FitChoice::Box;
        }
        if (options.sweep) {
            const std::vector<std::string> unused = UnusedParameters(options.typed);
            if (std::find(unused.begin(), unused.end(), options.sweep->name) != unused.end()) {
                error = TrFormat("--sweep: no formula uses %1; accepted: a name the formulas use", {Quote(options.sweep->name)});
                return false;
            }
        }
        DefinitionProblem problem;
        std::optional<Wireframe> wire = BuildTypedSurface(options.typed, problem);
        if (!wire) {
            error = TypedMessage(options.typed, problem);
            return false;
        }
        if (options.sweep)
            options.drawn = options.typed;
        auto built = std::make_shared<Wireframe>(std::move(*wire));
        surface = surfaces.Add(kTypedSurfaceId, options.typed.caption, [built] { return std::move(*built); });
        return true;
    }
    if (options.pendingSurface) {
        const std::string& name = *options.pendingSurface;
        const SurfaceEntry* entry = surfaces.FindId(name);
        if (const std::optional<int> n = ParseInt(name); !entry && n && name[0] != '+')
            entry = surfaces.Find(*n);
        if (!entry) {
            error = TrFormat("unknown surface %1; accepted: %2", {Quote(name), SurfacesAccepted(surfaces)});
            if (!LoadGallery(surfaces).problems.empty())
                error += TrFormat("\n  the gallery was not read whole: %1", {DescribeFileProblem(LoadGallery(surfaces).problems.front())});
            return false;
        }
        surface = entry->number;
    } else if (!surfaceGiven && loaded.size() == 1) {
        surface = numbers.front();
    } else if (!surfaceGiven && loaded.size() > 1) {
        error = TrFormat("--define: the files define %1 surfaces; pick one with -s ID", {std::to_string(loaded.size())});
        return false;
    }
    // A surface from a file is sampled now, so that its problems are told before any file is written.
    for (size_t i = 0; i < loaded.size(); ++i)
        if (numbers[i] == surface) {
            DefinitionProblem problem;
            loaded[i]->built = BuildTypedSurface(loaded[i]->definition, problem);
            if (!loaded[i]->built) {
                error = TrFormat("--define: surface %1: %2", {Quote(loaded[i]->definition.id), Said(problem.what)});
                return false;
            }
        }
    return ResolveOverrides(surfaces, options, surface, loaded, numbers, error);
}
