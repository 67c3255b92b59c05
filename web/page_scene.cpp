// The scene in the page's address: written from the page's session, and a link's scene shown in it.
#include <emscripten/emscripten.h>

#include <string>

#include "render/theme.h"
#include "session/scene_session.h"
#include "web/page_json.h"
#include "web/page_state.h"

extern "C" {

// The scene shown, as the address's fragment holds it; empty before a surface and for a preview.
EMSCRIPTEN_KEEPALIVE const char* vx_scene()
{
    const std::optional<Scene> scene = SceneOf(ThePage().session);
    return Answer(scene ? EncodeScene(*scene) : std::string());
}

// Shows a link's scene: {"number":N} with its surface's number, or {"error":"…"} in Spanish and
// the page as it was.
EMSCRIPTEN_KEEPALIVE const char* vx_open_scene(const char* text)
{
    Page& page = ThePage();
    FormulaProblem problem;
    const std::optional<Scene> scene = DecodeScene(text, problem);
    if (!scene || !OpenScene(*scene, page.session, Own(), problem))
        return Answer(JsonObject().Add("error", problem.spanish).Text());
    return Answer(JsonObject().Add("number", page.session.View().surface).Text());
}

// The shown style as the page's "Vista" holds it: {"hiddenLines":true, …, "theme":index, "turnZ":false}.
EMSCRIPTEN_KEEPALIVE const char* vx_style()
{
    const ViewSession& session = ThePage().session;
    const FrameStyle& s = session.Style();
    size_t theme = 0;
    while (theme + 1 < Themes().size() && Themes()[theme].theme != s.theme)
        ++theme;
    return Answer(JsonObject()
                      .Add("hiddenLines", s.hiddenLines)
                      .Add("depthCue", s.depthCue)
                      .Add("anaglyph", s.anaglyph)
                      .Add("swapEyes", s.swapEyes)
                      .Add("parallel", s.parallel)
                      .Add("axes", s.axes)
                      .Add("lineWidth", s.lineWidth)
                      .Add("theme", theme)
                      .Add("turnZ", session.GetTurnAxis() == TurnAxis::Z)
                      .Text());
}

}   // extern "C"
