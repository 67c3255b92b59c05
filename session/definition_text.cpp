// Typed parameters and lets, read alike by the window's dialog and the page.
#include "session/definition_text.h"

#include <utility>

#include "surfaces/quoted_text.h"

std::string_view Trimmed(std::string_view text)
{
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!text.empty() && space(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && space(text.back()))
        text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> Parts(std::string_view text, char separator, bool topLevelOnly)
{
    std::vector<std::string_view> parts;
    int depth = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size()) {
            const char c = text[i];
            depth += c == '(' || c == '[' ? 1 : (c == ')' || c == ']') && depth > 0 ? -1 : 0;
            if (text[i] != separator || (topLevelOnly && depth > 0))
                continue;
        }
        if (!Trimmed(text.substr(start, i - start)).empty())
            parts.push_back(text.substr(start, i - start));
        start = i + 1;
    }
    return parts;
}

bool ReadParametersText(std::string_view text, SurfaceDefinition& definition, DefinitionProblem& problem)
{
    std::vector<NamedValue>& params = definition.params;
    for (std::string_view part : Parts(text, ',', true)) {
        const std::size_t equals = part.find('=');
        if (equals == std::string_view::npos) {
            problem = {DefinitionField::Params,
                       {-1, "", QuoteSpanish(Trimmed(part)) + " no es NOMBRE=VALOR, por ejemplo a=2, b=pi/a o t=[0, pi, 1]"}};
            return false;
        }
        const std::string name(Trimmed(part.substr(0, equals)));
        std::string_view given = Trimmed(part.substr(equals + 1));
        const bool ranged = given.size() >= 2 && given.front() == '[' && given.back() == ']';
        const std::vector<std::string_view> items = ranged ? Parts(given.substr(1, given.size() - 2), ',', true)
                                                           : std::vector<std::string_view>{given};
        if (ranged && items.size() != 3) {
            problem = {DefinitionField::Params, {-1, "", QuoteSpanish(name) + ": el intervalo debe ser [MÍNIMO, MÁXIMO, VALOR]"}};
            return false;
        }
        double values[3] = {};
        for (std::size_t i = 0; i < items.size(); ++i) {
            FormulaProblem why;
            const std::optional<double> value = EvaluateConstant(Trimmed(items[i]), params, why);
            if (!value) {
                problem = {DefinitionField::Params, {-1, "", QuoteSpanish(name) + ": " + why.spanish}};
                return false;
            }
            values[i] = *value;
        }
        const std::string_view valueText = Trimmed(items.back());
        if (valueText.find_first_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_") != std::string_view::npos)
            definition.derived.push_back({name, std::string(valueText)});
        params.emplace_back(name, values[items.size() - 1]);
        if (ranged)
            definition.ranges.push_back({name, values[0], values[1]});
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
