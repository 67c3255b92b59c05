// The table of output formats, and file names read and made from it.
#include "export/output_format.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<FormatInfo, 7> kFormats{{
    {OutputFormat::Png, "png", ".png", ""},
    {OutputFormat::Svg, "svg", ".svg", ""},
    {OutputFormat::Trace, "trace", ".trace", ".txt"},
    {OutputFormat::Gif, "gif", ".gif", ""},
    {OutputFormat::Pdf, "pdf", ".pdf", ""},
    {OutputFormat::Eps, "eps", ".eps", ""},
    {OutputFormat::Tikz, "tikz", ".tikz", ""},
}};

bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix)
{
    if (suffix.empty() || text.size() < suffix.size())
        return false;
    text.remove_prefix(text.size() - suffix.size());
    for (size_t i = 0; i < suffix.size(); ++i) {
        const char c = text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] - 'A' + 'a') : text[i];
        if (c != suffix[i])
            return false;
    }
    return true;
}

}   // namespace

std::span<const FormatInfo> OutputFormats()
{
    return kFormats;
}

const FormatInfo& InfoOf(OutputFormat format)
{
    return *std::find_if(kFormats.begin(), kFormats.end(), [&](const FormatInfo& f) { return f.format == format; });
}

std::optional<OutputFormat> FormatNamed(std::string_view name)
{
    for (const FormatInfo& info : kFormats)
        if (info.name == name)
            return info.format;
    return std::nullopt;
}

bool IsFigureFormat(OutputFormat format)
{
    return format == OutputFormat::Pdf || format == OutputFormat::Eps || format == OutputFormat::Tikz;
}

bool FormatWritable(OutputFormat format)
{
    (void)format;   // a build without cairo writes the PDF and the EPS itself (figure_document.*)
    return true;
}

std::optional<OutputFormat> FormatOfFileName(std::string_view path)
{
    const std::string_view file = FilePartOf(path);
    for (const FormatInfo& info : kFormats)
        if (EndsWithIgnoringCase(file, info.extension) || EndsWithIgnoringCase(file, info.alsoRead))
            return info.format;
    return std::nullopt;
}

std::string NumberedFileName(std::string_view name, int number, int digits)
{
    const size_t slash = name.find_last_of('/');
    size_t dot = name.find_last_of('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash) || dot == slash + 1)
        dot = name.size();
    std::string digitsText = std::to_string(number);
    digitsText.insert(0, static_cast<size_t>(std::max(0, digits - static_cast<int>(digitsText.size()))), '0');
    return std::string(name.substr(0, dot)) + "-" + digitsText + std::string(name.substr(dot));
}

std::string_view FilePartOf(std::string_view path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}
