// Text for pdflatex: LaTeX's special characters and the mathematical signs and Greek letters a
// title may hold, written as commands every LaTeX installation sets, so no character stops it.
#pragma once

#include <string>
#include <string_view>

// utf8 as LaTeX source that prints it: specials escaped, control characters as spaces, signs and
// Greek letters as math commands (\(\theta\)), dashes and quotes as LaTeX's ligatures. Other
// characters (the Spanish letters, ¿, ¡) pass as UTF-8, which LaTeX reads by default.
std::string TexText(std::string_view utf8);
