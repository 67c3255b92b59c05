// "Definir…" on the page: a definition as the page sends it read by name, checked, previewed,
// accepted or saved through the session's rules; and the definition it starts from.
#include <emscripten/emscripten.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "session/definition_rules.h"
#include "session/definition_text.h"
#include "session/equation_text.h"
#include "session/own_surfaces.h"
#include "surfaces/typed_surface.h"
#include "web/page_json.h"
#include "web/page_state.h"

namespace {

// A definition as the page sends it, a JSON object of texts named as binding.js's kDefinitionFields:
// caption, x, y, z, uFrom, uTo, uLines, vFrom, vTo, vLines, samples, params ("a=2, b=pi/a"), lets
// ("r=u*v; s=r^2"), fit ("uniforme", "ejes" or "ninguna"), families ("uv", "u" or "v"); then kind
// ("formulas" or "ecuacion") and an equation's equation, box, planeFamilies, planes, grid.
// Nothing, with the problem at the whole definition, when the object does not read.
std::optional<JsonFields> FieldsOf(const char* text, DefinitionProblem& problem)
{
    std::string error;
    std::optional<JsonFields> fields = JsonFields::Read(text, error);
    if (!fields)
        problem = {DefinitionField::Whole, {-1, "the definition did not arrive whole", "la definición no llegó entera: " + error}};
    return fields;
}

bool IsEquation(const JsonFields& fields) { return fields.Text("kind") == "ecuacion"; }

EquationText EquationFieldsOf(const JsonFields& fields)
{
    return {fields.Text("equation"), fields.Text("box"), fields.Text("planeFamilies"), fields.Text("grid"), fields.Text("planes")};
}

// The definition the page sent, as far as it reads; false with the first problem of its parameters,
// or else of its equation. Counts that are not whole numbers become -1, which the check refuses at
// their field; parameters that do not read are left out.
bool ReadDefinition(const JsonFields& fields, SurfaceDefinition& definition, DefinitionProblem& problem)
{
    auto count = [&fields](std::string_view name) {
        const std::string text = fields.Text(name);
        char* end = nullptr;
        const long n = std::strtol(text.c_str(), &end, 10);
        return text.empty() || *end != '\0' || n < -1 || n > 100000000 ? -1 : static_cast<int>(n);
    };
    definition.caption = fields.Text("caption");
    definition.xyz = {fields.Text("x"), fields.Text("y"), fields.Text("z")};
    definition.u = {fields.Text("uFrom"), fields.Text("uTo"), count("uLines")};
    definition.v = {fields.Text("vFrom"), fields.Text("vTo"), count("vLines")};
    definition.samples = count("samples");
    definition.lets = ReadLetsText(fields.Text("lets"));
    const std::string fit = fields.Text("fit"), families = fields.Text("families");
    definition.fit = fit != "ninguna";
    definition.fitEachAxis = fit == "ejes";
    definition.families = families == "u" ? Families::U : families == "v" ? Families::V : Families::UV;
    const EquationText equation = EquationFieldsOf(fields);
    return ReadDefinitionTexts(fields.Text("params"), IsEquation(fields) ? &equation : nullptr, definition, problem);
}

// The definition as far as it reads, for accepting and saving, which check it on their own.
SurfaceDefinition DefinitionOf(const JsonFields& fields)
{
    SurfaceDefinition definition;
    DefinitionProblem ignored;
    ReadDefinition(fields, definition, ignored);
    return definition;
}

// The page's field a problem shows at, by the names the page sends: the whole definition, which has
// no field of its own, at the caption; an equation's families are its planes'.
const char* PageFieldOf(DefinitionField field, bool equation)
{
    switch (field) {
    case DefinitionField::X: return "x";
    case DefinitionField::Y: return "y";
    case DefinitionField::Z: return "z";
    case DefinitionField::UFrom: return "uFrom";
    case DefinitionField::UTo: return "uTo";
    case DefinitionField::ULines: return "uLines";
    case DefinitionField::VFrom: return "vFrom";
    case DefinitionField::VTo: return "vTo";
    case DefinitionField::VLines: return "vLines";
    case DefinitionField::Samples: return "samples";
    case DefinitionField::Params: return "params";
    case DefinitionField::Whole: return "caption";
    case DefinitionField::Lets: return "lets";
    case DefinitionField::Equation: return "equation";
    case DefinitionField::Box: return "box";
    case DefinitionField::Grid: return "grid";
    case DefinitionField::Families: return equation ? "planeFamilies" : "families";
    case DefinitionField::Planes: return "planes";
    }
    return "caption";
}

std::string ProblemJson(const DefinitionProblem& problem, const std::optional<JsonFields>& fields)
{
    return JsonObject()
        .Add("field", PageFieldOf(problem.field, fields && IsEquation(*fields)))
        .Add("message", problem.what.spanish)
        .Add("position", problem.what.position)
        .Text();
}

}  // namespace

extern "C" {

// Samples a definition and shows it as the preview: "{}", {"warning":"…"} when a parameter is not
// used by any formula (the preview drawn without it, as it may be typed before the formula that
// uses it), or the problem with its field.
EMSCRIPTEN_KEEPALIVE const char* vx_preview(const char* definitionJson)
{
    Page& page = ThePage();
    DefinitionProblem problem;
    const std::optional<JsonFields> fields = FieldsOf(definitionJson, problem);
    SurfaceDefinition definition;
    if (!fields || !ReadDefinition(*fields, definition, problem))
        return Answer(ProblemJson(problem, fields));
    const PreviewDefinition preview = PreviewOf(definition);
    std::optional<Wireframe> wire = BuildTypedSurface(preview.drawn, problem);
    if (!wire)
        return Answer(ProblemJson(problem, fields));
    page.session.ShowPreview(std::make_shared<const Wireframe>(std::move(*wire)), !page.previewShown);
    page.previewShown = true;
    JsonObject answer;
    if (!preview.warning.empty())
        answer.Add("warning", preview.warning);
    return Answer(answer.Text());
}

// Checks a definition as "Aceptar" does: "{}" or the problem with its field.
EMSCRIPTEN_KEEPALIVE const char* vx_check(const char* definitionJson)
{
    DefinitionProblem problem;
    const std::optional<JsonFields> fields = FieldsOf(definitionJson, problem);
    SurfaceDefinition definition;
    const bool good = fields && ReadDefinition(*fields, definition, problem) && CheckDefinition(definition, problem);
    return Answer(good ? "{}" : ProblemJson(problem, fields));
}

// "Aceptar": the definition shown, listed until the page is closed; returns its number, 0 when the
// definition did not arrive whole.
EMSCRIPTEN_KEEPALIVE int vx_accept(const char* definitionJson)
{
    DefinitionProblem problem;
    const std::optional<JsonFields> fields = FieldsOf(definitionJson, problem);
    return fields ? Own().Accept(DefinitionOf(*fields)) : 0;
}

// Why "Guardar en mis superficies" refuses a definition before trying: "" or the reason in Spanish.
EMSCRIPTEN_KEEPALIVE const char* vx_save_refusal(const char* definitionJson)
{
    DefinitionProblem problem;
    const std::optional<JsonFields> fields = FieldsOf(definitionJson, problem);
    return Answer(fields ? SaveRefusal(DefinitionOf(*fields)) : problem.what.spanish);
}

// "Guardar en mis superficies": into the page's superficies.toml; "" or the reason in Spanish.
EMSCRIPTEN_KEEPALIVE const char* vx_save(const char* definitionJson)
{
    DefinitionProblem problem;
    const std::optional<JsonFields> fields = FieldsOf(definitionJson, problem);
    if (!fields)
        return Answer(problem.what.spanish);
    std::string error;
    return Answer(Own().Save(DefinitionOf(*fields), error) ? std::string() : error);
}

// What "Definir…" starts from, the session's choice for the surface shown, as the page's fields:
// {"caption":…,"x":…,…,"grid":…} (binding.js's kDefinitionFields).
EMSCRIPTEN_KEEPALIVE const char* vx_starting_definition()
{
    Page& page = ThePage();
    const SurfaceDefinition start = Own().StartingDefinition(page.session.View().surface);
    const EquationText equation = EquationTextOf(start);
    const std::string fit = !start.fit ? "ninguna" : start.fitEachAxis ? "ejes" : "uniforme";
    const std::string families = start.families == Families::U ? "u" : start.families == Families::V ? "v" : "uv";
    const std::pair<const char*, std::string> fields[] = {
        {"caption", start.caption}, {"x", start.xyz[0]}, {"y", start.xyz[1]}, {"z", start.xyz[2]},
        {"uFrom", start.u.from}, {"uTo", start.u.to}, {"uLines", std::to_string(start.u.lines)},
        {"vFrom", start.v.from}, {"vTo", start.v.to}, {"vLines", std::to_string(start.v.lines)},
        {"samples", std::to_string(start.samples)}, {"params", ParametersText(start.params)}, {"lets", LetsText(start.lets)},
        {"fit", fit}, {"families", families}, {"kind", start.equation.empty() ? "formulas" : "ecuacion"},
        {"equation", equation.equation}, {"box", equation.box}, {"planeFamilies", equation.families},
        {"planes", equation.planes}, {"grid", equation.grid}};
    JsonObject json;
    for (const auto& [name, value] : fields)
        json.Add(name, value);
    return Answer(json.Text());
}

}  // extern "C"
