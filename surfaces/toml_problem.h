// The TOML library's description of a broken file, told in Spanish.
#pragma once

#include <string>
#include <string_view>

// "no es TOML válido (columna C)" with, where the library's English words are among those a
// hand-edited file meets (an unclosed quote or bracket, a missing '=', a key given twice…), what
// was being read and what went wrong. Every piece of the file echoed is escaped.
std::string TomlProblemInSpanish(std::string_view description, int column);
