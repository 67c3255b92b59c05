// Reading the values of command-line options, and the texts that say which values are accepted.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "surfaces/registry.h"
#include "surfaces/typed_surface.h"
#include "surfaces/quoted_text.h"   // Quote: every echoed value

// A finite double, the whole text; a leading '+' allowed.
std::optional<double> ParseDouble(std::string_view text);

// A length with its unit (cm, mm, in, or TeX's pt), e.g. "8cm" or "3.5 in", in centimetres.
std::optional<double> ParseLengthCm(std::string_view text);

// A whole number in int, the whole text; a leading '+' allowed.
std::optional<int> ParseInt(std::string_view text);

// The parts between commas; "a,,b" has an empty middle part.
std::vector<std::string_view> SplitCommas(std::string_view text);

struct FileProblem;

// "'FILE':LINE: what" in English, the file's name quoted as every echoed value is.
std::string DescribeFileProblem(const FileProblem& problem);

// A formula's problem, said in both languages, in the one of the user's messages.
std::string Said(const FormulaProblem& problem);
// The name of a typed surface's field in the user's language.
std::string FieldLabel(DefinitionField field);

std::string SurfacesAccepted(const SurfaceRegistry& surfaces);   // "1 to 36, or a name from --list"
std::string ThemeNames(const char* separator);     // "pantalla, papel, proyector" with the separator given
std::string FormatNames(const char* separator);    // "png, svg, trace" with the separator given
std::string ExtensionsSentence();                  // ".png, .svg, .trace or .txt"
