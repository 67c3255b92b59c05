// The library words its errors "Error while parsing WHAT: DETAIL"; both halves come from short,
// fixed lists, so the common ones are translated and the rest leave only the column.
#include "surfaces/toml_problem.h"

#include "surfaces/quoted_text.h"

namespace {

struct Phrase {
    std::string_view english, spanish;
};

constexpr Phrase kWhat[] = {
    {"string", "una cadena"},
    {"key-value pair", "una clave con su valor"},
    {"array", "una lista"},
    {"table header", "la cabecera de una tabla"},
    {"array-of-tables header", "la cabecera de una tabla"},
    {"table array header", "la cabecera de una tabla"},
    {"inline table", "una tabla entre llaves"},
    {"boolean", "un valor lógico"},
    {"root table", "el archivo"},
    {"decimal integer", "un número"},
    {"hexadecimal integer", "un número"},
    {"integer", "un número"},
    {"floating-point", "un número"},
    {"value", "un valor"},
    {"bare key", "una clave"},
    {"key", "una clave"},
};

std::string_view SpanishOf(std::string_view what)
{
    for (const Phrase& p : kWhat)
        if (p.english == what)
            return p.spanish;
    return {};
}

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// The last 'quoted' piece of text, without its quotes; empty when there is none.
std::string_view LastQuoted(std::string_view text)
{
    const size_t close = text.rfind('\'');
    if (close == std::string_view::npos || close == 0)
        return {};
    const size_t open = text.rfind('\'', close - 1);
    return open == std::string_view::npos ? std::string_view{} : text.substr(open + 1, close - open - 1);
}

// A token the library quotes in its words. It writes a control character as an escape already
// ("\\n"), so a printable token is shown as it is and only anything else escaped again.
std::string Shown(std::string_view token)
{
    if (token == "\\n" || token == "\\r")
        return "el final de la línea";
    return IsPrintableText(token) ? "«" + std::string(token) + "»" : QuoteSpanish(token);
}

std::string DetailInSpanish(std::string_view detail)
{
    if (detail == "encountered end-of-file")
        return "el archivo se acaba antes de cerrarlo";
    if (StartsWith(detail, "unescaped control characters"))
        return "hay un salto de línea o un carácter de control dentro (¿faltan las comillas de cierre?)";
    if (StartsWith(detail, "unknown escape sequence"))
        return "secuencia de escape desconocida " + Shown(LastQuoted(detail));
    if (StartsWith(detail, "cannot redefine existing"))
        return Shown(LastQuoted(detail.substr(0, detail.find(" as ")))) + " ya está definido más arriba";
    if (StartsWith(detail, "expected ")) {
        const size_t saw = detail.rfind(", saw ");
        if (saw == std::string_view::npos)
            return {};
        const std::string_view expected = detail.substr(9, saw - 9);
        const std::string found = Shown(LastQuoted(detail.substr(saw)));
        // A single expected token is worth naming; a list of English words is not.
        if (expected.size() >= 3 && expected.front() == '\'' && expected.back() == '\'' &&
            expected.find(' ') == std::string_view::npos)
            return "se esperaba " + Shown(expected.substr(1, expected.size() - 2)) + " y hay " + found;
        return "no se esperaba " + found;
    }
    return {};
}

}   // namespace

std::string TomlProblemInSpanish(std::string_view description, int column)
{
    std::string message = "no es TOML válido (columna " + std::to_string(column) + ")";
    constexpr std::string_view kLead = "Error while parsing ";
    const size_t colon = description.find(": ");
    if (!StartsWith(description, kLead) || colon == std::string_view::npos)
        return message;
    const std::string_view what = SpanishOf(description.substr(kLead.size(), colon - kLead.size()));
    const std::string detail = DetailInSpanish(description.substr(colon + 2));
    if (detail.empty())
        return message;
    return message + ": " + (what.empty() ? "" : "al leer " + std::string(what) + ", ") + detail;
}
