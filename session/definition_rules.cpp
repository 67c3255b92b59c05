// "Definir…"'s rules, the same in the window and the page.
#include "session/definition_rules.h"

#include <algorithm>
#include <cstdio>

#include "session/definition_text.h"
#include "surfaces/quoted_text.h"

bool ReadDefinitionTexts(std::string_view params, const EquationText* equation, SurfaceDefinition& definition,
                         DefinitionProblem& problem)
{
    const bool paramsRead = ReadParametersText(params, definition, problem);
    DefinitionProblem afterParams;   // read on, so that the definition holds all that reads
    const bool equationRead = !equation || ReadEquationText(*equation, definition, paramsRead ? problem : afterParams);
    return paramsRead && equationRead;
}

PreviewDefinition PreviewOf(SurfaceDefinition definition)
{
    const std::vector<std::string> unused = UnusedParameters(definition);
    std::erase_if(definition.params, [&](const NamedValue& p) {
        return std::find(unused.begin(), unused.end(), p.first) != unused.end();
    });
    std::string warning;
    for (const std::string& name : unused)
        warning += (warning.empty() ? "" : " ") + std::string("Aviso: ninguna fórmula usa el parámetro ") + QuoteSpanish(name) + ".";
    return {std::move(definition), std::move(warning)};
}

std::string SaveRefusal(const SurfaceDefinition& definition)
{
    return Trimmed(definition.caption).empty() ? kCaptionNeeded : "";
}

std::string ParametersText(const std::vector<NamedValue>& params)
{
    std::string text;
    for (const NamedValue& param : params) {
        char value[32];
        std::snprintf(value, sizeof value, "%.17g", param.second);
        text += (text.empty() ? "" : ", ") + param.first + "=" + value;
    }
    return text;
}

std::string LetsText(const std::vector<NamedFormula>& lets)
{
    std::string text;
    for (const NamedFormula& let : lets)
        text += (text.empty() ? "" : "; ") + let.name + "=" + let.text;
    return text;
}
