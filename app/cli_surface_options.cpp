// Reading --x, --y, --z, --u, --v, --samples, --let, --param, --fit, --sweep, the shape options
// and --define into OwnSurfaceOptions, one option at a time.
#include "app/cli_surface_options.h"

#include <algorithm>
#include <cmath>

#include "app/cli_values.h"
#include "app/translation.h"

namespace {

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

// The parts of text between commas outside parentheses, each trimmed of spaces.
std::vector<std::string> TopLevelParts(std::string_view text)
{
    std::vector<std::string> parts;
    for (std::string_view part : SplitTopLevelCommas(text)) {
        part.remove_prefix(std::min(part.size(), part.find_first_not_of(' ')));
        part.remove_suffix(part.size() - (part.find_last_not_of(' ') + 1));
        parts.emplace_back(part);
    }
    return parts;
}

// A constant formula of an option's value, or the message saying why not.
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
