#include "surfaces/formula_number.h"

#include <cmath>
#include <cstdlib>
#include <string>

#if !defined(__EMSCRIPTEN__)
#include <clocale>
#include <locale.h>
#endif

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The text as a C-locale strtod reads it: the window's locale may have a decimal comma.
double ReadDecimal(const std::string& text)
{
#if defined(__EMSCRIPTEN__)
    return std::strtod(text.c_str(), nullptr);   // the page's C library reads '.' in every locale
#else
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return strtod_l(text.c_str(), nullptr, c);
#endif
}

}   // namespace

int ReadFormulaNumber(const char* text, int* position, double* value)
{
    size_t i = 0;
    if (text[i] == '+' || text[i] == '-')
        ++i;
    size_t digits = 0;
    for (; IsDigit(text[i]); ++i)
        ++digits;
    if (text[i] == '.')
        for (++i; IsDigit(text[i]); ++i)
            ++digits;
    if (digits == 0)
        return 0;
    if (text[i] == 'e' || text[i] == 'E') {
        size_t j = i + 1;
        if (text[j] == '+' || text[j] == '-')
            ++j;
        if (!IsDigit(text[j]))
            return 0;   // "2e", "2e+": the streams refuse the whole of it
        for (i = j; IsDigit(text[i]); ++i) {
        }
    }
    const double read = ReadDecimal(std::string(text, i));
    if (std::isinf(read))
        return 0;   // beyond the doubles: refused, as the streams refuse it
    *value = read;
    *position += static_cast<int>(i);
    return 1;
}
