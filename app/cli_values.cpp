// Values of options, read from their text, and the lists of accepted values.
#include "app/cli_values.h"

#include <charconv>
#include <cmath>
#include <utility>

#include "app/translation.h"
#include "export/output_format.h"
#include "render/theme.h"
#include "surfaces/definitions_file.h"
#include "surfaces/registry.h"

std::optional<double> ParseDouble(std::string_view text)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<double> ParseLengthCm(std::string_view text)
{
    constexpr std::pair<std::string_view, double> kUnits[] = {{"cm", 1.0}, {"mm", 0.1}, {"in", 2.54}, {"pt", 2.54 / 72.27}};
    for (const auto& [unit, cm] : kUnits)
        if (text.size() > unit.size() && text.substr(text.size() - unit.size()) == unit) {
            std::string_view number = text.substr(0, text.size() - unit.size());
            while (!number.empty() && number.back() == ' ')
                number.remove_suffix(1);
            const std::optional<double> value = ParseDouble(number);
            return value ? std::optional<double>(*value * cm) : std::nullopt;
        }
    return std::nullopt;
}

std::optional<int> ParseInt(std::string_view text)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::vector<std::string_view> SplitCommas(std::string_view text)
{
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        parts.push_back(text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (comma == std::string_view::npos)
            return parts;
        start = comma + 1;
    }
}

std::string DescribeFileProblem(const FileProblem& problem)
{
    const std::string& what = SpanishMessages() ? problem.spanish : problem.english;
    if (problem.line <= 0)
        return Quote(problem.file) + ": " + what;
    return TrFormat("%1:%2: %3", {Quote(problem.file), std::to_string(problem.line), what});
}

std::string Said(const FormulaProblem& problem)
{
    return SpanishMessages() ? problem.spanish : problem.english;
}

std::string FieldLabel(DefinitionField field)
{
    return SpanishMessages() ? FieldNameSpanish(field) : FieldName(field);
}

std::string SurfacesAccepted(const SurfaceRegistry& surfaces)
{
    return TrFormat("1 to %1, or a name from --list", {std::to_string(surfaces.Count())});
}

std::string FormatNames(const char* separator)
{
    std::string text;
    for (const FormatInfo& info : OutputFormats())
        text += (text.empty() ? "" : separator) + std::string(info.name);
    return text;
}

std::string ThemeNames(const char* separator)
{
    std::string text;
    for (const ThemeInfo& info : Themes())
        text += (text.empty() ? "" : separator) + std::string(info.name);
    return text;
}

std::string ExtensionsSentence()
{
    std::vector<std::string_view> all;
    for (const FormatInfo& info : OutputFormats()) {
        all.push_back(info.extension);
        if (!info.alsoRead.empty())
            all.push_back(info.alsoRead);
    }
    const std::string lastJoin = std::string(" ") + Tr("or") + " ";   // the list's last word in the reader's language
    std::string text;
    for (size_t i = 0; i < all.size(); ++i)
        text += (i == 0 ? "" : i + 1 == all.size() ? lastJoin : ", ") + std::string(all[i]);
    return text;
}

