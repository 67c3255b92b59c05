// Typed parameters and lets, read alike by the window's dialog and the page.
#include "session/definition_text.h"

#include "surfaces/quoted_text.h"

namespace {

std::string_view Trimmed(std::string_view text)
{
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!text.empty() && space(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && space(text.back()))
        text.remove_suffix(1);
    return text;
}

// The non-blank parts of text between separator characters outside parentheses.
std::vector<std::string_view> Parts(std::string_view text, char separator, bool topLevelOnly)
{
    std::vector<std::string_view> parts;
    int depth = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size()) {
            depth += text[i] == '(' ? 1 : text[i] == ')' && depth > 0 ? -1 : 0;
            if (text[i] != separator || (topLevelOnly && depth > 0))
                continue;
        }
        if (!Trimmed(text.substr(start, i - start)).empty())
            parts.push_back(text.substr(start, i - start));
        start = i + 1;
    }
    return parts;
}

}   // namespace

bool ReadParametersText(std::string_view text, std::vector<NamedValue>& params, DefinitionProblem& problem)
{
    for (std::string_view part : Parts(text, ',', true)) {
        const std::size_t equals = part.find('=');
        if (equals == std::string_view::npos) {
            problem = {DefinitionField::Params,
                       {-1, "", QuoteSpanish(Trimmed(part)) + " no es NOMBRE=VALOR, por ejemplo a=2 o b=pi/a"}};
            return false;
        }
        const std::string name(Trimmed(part.substr(0, equals)));
        FormulaProblem why;
        const std::optional<double> value = EvaluateConstant(Trimmed(part.substr(equals + 1)), params, why);
        if (!value) {
            problem = {DefinitionField::Params, {-1, "", QuoteSpanish(name) + ": " + why.spanish}};
            return false;
        }
        params.emplace_back(name, *value);
    }
    return true;
}

std::vector<NamedFormula> ReadLetsText(std::string_view text)
{
    std::vector<NamedFormula> lets;
    for (std::string_view part : Parts(text, ';', false)) {
        const std::size_t equals = part.find('=');
        if (equals == std::string_view::npos)
            lets.push_back({"", std::string(Trimmed(part))});
        else
            lets.push_back({std::string(Trimmed(part.substr(0, equals))), std::string(Trimmed(part.substr(equals + 1)))});
    }
    return lets;
}
