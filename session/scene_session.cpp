// From a session to its scene and back.
#include "session/scene_session.h"

#include <algorithm>

#include "surfaces/quoted_text.h"

std::optional<Scene> SceneOf(const ViewSession& session)
{
    const SurfaceEntry* entry = session.Surfaces().Find(session.View().surface);
    if (!session.HasFrame() || !entry)
        return std::nullopt;
    const auto& gallery = session.Surfaces().Gallery();
    const SurfaceKind galleryLast = gallery ? gallery->last : kBuiltinSurfaceCount;
    Scene scene;
    std::vector<NamedValue> values;
    for (const ParameterControl& control : session.Parameters())
        values.emplace_back(control.name, control.value);
    if (entry->number > galleryLast && entry->definition) {
        scene.own = *entry->definition;
        scene.own->params = values;
    } else {
        scene.surfaceId = entry->id;
        scene.params = values;
    }
    scene.view = session.StepView();
    scene.style = session.Style();
    scene.turnAxis = session.GetTurnAxis();
    return scene;
}

namespace {

bool Fail(FormulaProblem& problem, std::string english, std::string spanish)
{
    problem = {-1, "scene: " + english, "escena: " + spanish};
    return false;
}

}   // namespace

bool OpenScene(const Scene& scene, ViewSession& session, OwnSurfaces& own, FormulaProblem& problem)
{
    SurfaceKind kind = kSurfaceNone;
    if (scene.own) {
        DefinitionProblem wrong;
        std::optional<Wireframe> wire = BuildTypedSurface(*scene.own, wrong);
        if (!wire)
            return Fail(problem, std::string(FieldName(wrong.field)) + ": " + wrong.what.english,
                        std::string(FieldNameSpanish(wrong.field)) + ": " + wrong.what.spanish);
        kind = own.Accept(*scene.own, std::make_shared<const Wireframe>(std::move(*wire)));
    } else {
        const SurfaceEntry* entry = session.Surfaces().FindId(scene.surfaceId);
        if (!entry)
            return Fail(problem, "unknown surface " + Quote(scene.surfaceId) + "; accepted: an id of the list",
                        "superficie desconocida " + QuoteSpanish(scene.surfaceId) + "; se acepta: un id de la lista");
        for (const NamedValue& param : scene.params) {   // a lambda may not capture a structured binding here
            const bool known = entry->definition && std::any_of(entry->definition->params.begin(), entry->definition->params.end(),
                                                                [&](const NamedValue& p) { return p.first == param.first; });
            if (!known)
                return Fail(problem, Quote(scene.surfaceId) + " has no parameter " + Quote(param.first),
                            QuoteSpanish(scene.surfaceId) + " no tiene el parámetro " + QuoteSpanish(param.first));
        }
        kind = entry->number;
    }
    session.ChooseSurface(kind);
    for (const NamedValue& param : scene.params) {
        const auto& [name, value] = param;
        const std::vector<ParameterControl> shown = session.Parameters();
        const bool same = std::any_of(shown.begin(), shown.end(), [&](const ParameterControl& c) {
            return c.name == param.first && c.value == param.second;
        });
        if (!same && !session.SetParameter(name, value))
            return Fail(problem, Quote(name) + " cannot take the value " + std::to_string(value),
                        QuoteSpanish(name) + " no puede valer " + std::to_string(value));
    }
    FrameStyle style = scene.style;
    style.size = session.Style().size;
    session.SetStyle(style);
    session.SetSection(scene.style.section);
    session.SetTurnAxis(scene.turnAxis);
    session.ShowView(scene.view);
    return true;
}
