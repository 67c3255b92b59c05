// Reading --x, --y, --z, --u, --v, --samples, --families, --param, --no-fit and --define.
#include "app/cli_surface_options.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>

#include "app/cli_values.h"
#include "app/translation.h"
#include "surfaces/definitions_file.h"
#include "surfaces/gallery.h"

namespace {

// A problem said in both languages, in the one of the user's messages.
std::string Said(const FormulaProblem& problem)
{
    return SpanishMessages() ? problem.spanish : problem.english;
}

std::string FieldLabel(DefinitionField field)
{
    return SpanishMessages() ? FieldNameSpanish(field) : FieldName(field);
}

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

bool ReadAxis(ParameterAxis& axis, std::string_view option, std::string_view value, std::string& error)
{
    const std::vector<std::string_view> parts = SplitTopLevelCommas(value);
    std::optional<int> lines = kDefaultLines;
    if (parts.size() == 3)
        lines = ParseInt(parts[2]);
    if ((parts.size() != 2 && parts.size() != 3) || parts[0].empty() || parts[1].empty() || !lines) {
        error = TrFormat("%1: %2 is not a range; accepted: A,B or A,B,N with N lines, e.g. 0,2*pi,25", {std::string(option), Quote(value)});
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

// NAME=FORMULA split at the first '='; false when there is no name or no formula.
bool SplitNamed(std::string_view value, std::string& name, std::string& formula)
{
    const size_t equals = value.find('=');
    if (equals == std::string_view::npos || equals == 0 || equals + 1 == value.size())
        return false;
    name = std::string(value.substr(0, equals));
    formula = std::string(value.substr(equals + 1));
    return true;
}

// A constant formula of an option's value, or the message saying why not.
// The parts of text between commas outside parentheses, each trimmed of spaces.
std::vector<std::string> TopLevelParts(std::string_view text)
{
    std::vector<std::string> parts(1);
    int depth = 0;
    for (const char c : text) {
        depth += c == '(' ? 1 : c == ')' && depth > 0 ? -1 : 0;
        if (c == ',' && depth == 0)
            parts.emplace_back();
        else
            parts.back() += c;
    }
    for (std::string& part : parts) {
        part.erase(0, part.find_first_not_of(' '));
        part.erase(part.find_last_not_of(' ') + 1);
    }
    return parts;
}

std::optional<double> OptionNumber(std::string_view option, std::string_view formula, const std::vector<NamedValue>& known,
                                   std::string& error)
{
    FormulaProblem problem;
    const std::optional<double> value = EvaluateConstant(formula, known, problem);
    if (!value)
        error = TrFormat("%1: %2: %3", {std::string(option), Quote(formula), Said(problem)});
    return value;
}

bool ReadSweep(OwnSurfaceOptions& options, std::string_view value, std::string& error)
{
    std::string name, range;
    const bool named = SplitNamed(value, name, range);
    const size_t colon = range.find(':');
    if (!named || colon == std::string::npos || colon == 0 || colon + 1 == range.size() ||
        range.find(':', colon + 1) != std::string::npos) {
        error = TrFormat("--sweep: %1 is not NAME=A:B; accepted: e.g. a=0:1 or t=0:2*pi", {Quote(value)});
        return false;
    }
    const std::optional<double> from = OptionNumber("--sweep", range.substr(0, colon), {}, error);
    const std::optional<double> to = from ? OptionNumber("--sweep", range.substr(colon + 1), {}, error) : std::nullopt;
    if (!to)
        return false;
    if (!std::isfinite(*to - *from)) {
        error = TrFormat("--sweep: %1 spans more than a number holds; accepted: ends less than about 1.7e308 apart",
                         {Quote(value)});
        return false;
    }
    options.sweep = ParameterSweep{name, *from, *to};
    return true;
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
            error = Tr("--define: the file name is empty; accepted: a TOML file of [[surface]] tables");
            return false;
        }
        options.defineFiles.emplace_back(value);
        return true;
    }
    if (option == "--param") {
        std::string name, formula;
        if (!SplitNamed(value, name, formula)) {
            error = TrFormat("--param: %1 is not NAME=VALUE; accepted: e.g. a=2.5 or a=pi/4", {Quote(value)});
            return false;
        }
        std::vector<std::string> items = {formula};
        if (formula.size() >= 2 && formula.front() == '[' && formula.back() == ']') {   // [LEAST, GREATEST, VALUE]
            items = TopLevelParts(std::string_view(formula).substr(1, formula.size() - 2));
            if (items.size() != 3) {
                error = TrFormat("--param: %1 is not NAME=[LEAST, GREATEST, VALUE]; accepted: e.g. t=[0, pi/2, 0.5]", {Quote(value)});
                return false;
            }
        }
        std::vector<double> numbers;
        for (const std::string& item : items) {
            const std::optional<double> number = OptionNumber("--param", item, options.params, error);
            if (!number)
                return false;
            numbers.push_back(*number);
        }
        if (!ParseDouble(items.back()))
            options.paramFormulas.push_back({name, items.back()});
        options.params.emplace_back(name, numbers.back());
        if (numbers.size() == 3)
            options.paramRanges.push_back({name, numbers[0], numbers[1]});
        return true;
    }
    if (option == "--fit" || option == "--no-fit") {
        if (option == "--fit" && value != "uniform" && value != "box" && value != "none") {
            error = TrFormat("--fit: %1 is not a fit; accepted: uniform, box or none", {Quote(value)});
            return false;
        }
        options.fit = option == "--no-fit" || value == "none" ? FitChoice::None : value == "box" ? FitChoice::Box : FitChoice::Uniform;
        return true;
    }
    if (option == "--sweep")
        return ReadSweep(options, value, error);
    if (IsShapeOption(option))
        return ReadShapeOption(options, option, value, error);
    options.typedOptions.emplace_back(option);
    if (option == "--let") {
        std::string name, formula;
        if (!SplitNamed(value, name, formula)) {
            error = TrFormat("--let: %1 is not NAME=FORMULA; accepted: e.g. r=sqrt(1-b^2)", {Quote(value)});
            return false;
        }
        def.lets.push_back({name, formula});
        return true;
    }
    if (option == "--x" || option == "--y" || option == "--z") {
        def.xyz[static_cast<size_t>(option[2] - 'x')] = std::string(value);
        return true;
    }
    if (option == "--u" || option == "--v")
        return ReadAxis(option == "--u" ? def.u : def.v, option, value, error);
    if (option == "--samples") {
        const std::optional<int> n = ParseInt(value);
        if (!n) {
            error = TrFormat("--samples: %1 is not a whole number; accepted: 2 to %2", {Quote(value), std::to_string(kMaxSamplesPerLine)});
            return false;
        }
        def.samples = *n;
        return true;
    }
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
