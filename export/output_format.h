// The output formats and the one rule from a file name to a format.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

enum class OutputFormat { Png, Svg, Trace, Gif, Pdf, Eps, Tikz };

struct FormatInfo {
    OutputFormat     format;
    std::string_view name;         // as --format takes it
    std::string_view extension;    // the one written, with its dot
    std::string_view alsoRead;     // another extension that means the format; empty when none
};

std::span<const FormatInfo> OutputFormats();                      // in the order help lists them
const FormatInfo& InfoOf(OutputFormat format);

std::optional<OutputFormat> FormatNamed(std::string_view name);        // "png", "svg", "trace", "gif", "pdf", ...
// Whether the format draws every frame as a figure (vector documents made for print).
bool IsFigureFormat(OutputFormat format);
// Whether this build can write the format: every build writes them all (the PDF and the EPS by
// cairo natively, directly in the page).
bool FormatWritable(OutputFormat format);
std::optional<OutputFormat> FormatOfFileName(std::string_view path);   // by its extension, any case

// NAME.EXT with the frame number before the extension, zero-padded to digits: orbit.png gives
// orbit-0001.png; a name without an extension gets the number at its end.
std::string NumberedFileName(std::string_view name, int number, int digits);

// The last part of a path, after its last '/': empty for "d/" (a name with no file part).
std::string_view FilePartOf(std::string_view path);
