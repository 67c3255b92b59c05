// Values of options, read from their text, and the lists of accepted values.
#include "app/cli_values.h"

#include <charconv>
#include <cmath>
#include <cstdio>

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

namespace {

constexpr std::string_view kNamedControls = "\a\b\t\n\v\f\r";
constexpr std::string_view kControlLetters = "abtnvfr";

// The length of the UTF-8 sequence of a printable character at text's start; 0 for anything else
// (a control byte, a C1 control, a malformed, overlong or surrogate sequence).
size_t PrintableSequence(std::string_view text)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead >= 0x20 && lead < 0x7f)
        return 1;
    const size_t length = lead >= 0xc2 && lead <= 0xdf ? 2 : lead >= 0xe0 && lead <= 0xef ? 3
                        : lead >= 0xf0 && lead <= 0xf4 ? 4 : 0;
    if (length == 0 || text.size() < length)
        return 0;
    char32_t code = lead & (0x7f >> length);
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xc0) != 0x80)
            return 0;
        code = (code << 6) | (byte(i) & 0x3f);
    }
    const char32_t least[] = {0, 0, 0xa0, 0x800, 0x10000};   // 0x80..0x9f are the C1 controls
    if (code < least[length] || (code >= 0xd800 && code <= 0xdfff) || code > 0x10ffff)
        return 0;
    return length;
}

}   // namespace

std::string Quote(std::string_view text)
{
    std::string quoted = "'";
    while (!text.empty()) {
        const size_t printable = PrintableSequence(text);
        const char c = text.front();
        if (c == '\\' || c == '\'') {
            quoted += '\\';
            quoted += c;
        } else if (printable > 0) {
            quoted += text.substr(0, printable);
            text.remove_prefix(printable - 1);
        } else if (const size_t named = kNamedControls.find(c); named != std::string_view::npos) {
            quoted += '\\';
            quoted += kControlLetters[named];
        } else {
            char octal[5];
            std::snprintf(octal, sizeof octal, "\\%03o", static_cast<unsigned char>(c));
            quoted += octal;
        }
        text.remove_prefix(1);
    }
    return quoted + "'";
}

bool IsPrintableText(std::string_view text)
{
    while (!text.empty()) {
        const size_t printable = PrintableSequence(text);
        if (printable == 0)
            return false;
        text.remove_prefix(printable);
    }
    return true;
}

std::string DescribeFileProblem(const FileProblem& problem)
{
    const std::string where = problem.line > 0 ? ":" + std::to_string(problem.line) : std::string();
    return Quote(problem.file) + where + ": " + problem.english;
}

std::string SurfacesAccepted(const SurfaceRegistry& surfaces)
{
    return "1 to " + std::to_string(surfaces.Count()) + ", or a name from --list";
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
    std::string text;
    for (size_t i = 0; i < all.size(); ++i)
        text += (i == 0 ? "" : i + 1 == all.size() ? " or " : ", ") + std::string(all[i]);
    return text;
}

