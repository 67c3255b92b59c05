// The LaTeX math command of a character: Greek letters, signs, arrows and sets as commands every
// LaTeX installation sets.
#pragma once

#include <string_view>

// The command of one character (U+03B8 -> "\theta"), or nothing when it has none.
std::string_view TexMathCommand(char32_t c);
