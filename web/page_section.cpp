// "Corte" on the page: the plane's axis and slider handed to the session, which owns the rule.
#include <emscripten/emscripten.h>

#include <string>

#include "web/page_json.h"
#include "web/page_state.h"

extern "C" {

// axis: 0, 1, 2 for x, y, z; anything else turns the section off. 1 when it changed.
EMSCRIPTEN_KEEPALIVE int vx_set_section_axis(int axis)
{
    const SectionAxis axes[] = {SectionAxis::X, SectionAxis::Y, SectionAxis::Z};
    return ThePage().session.SetSectionAxis(axis >= 0 && axis < 3 ? std::optional(axes[axis]) : std::nullopt) ? 1 : 0;
}

// The slider moved to step, 0..steps of vx_section. 1 when the plane moved.
EMSCRIPTEN_KEEPALIVE int vx_set_section_step(int step)
{
    return ThePage().session.SetSectionStep(step) ? 1 : 0;
}

// The section as JSON: {"steps":200,"step":100,"plane":"z=0.5","value":0.5} ("plane" empty when off).
EMSCRIPTEN_KEEPALIVE const char* vx_section()
{
    const ViewSession& session = ThePage().session;
    const auto& plane = session.Section();
    return Answer(JsonObject()
                      .Add("steps", kSectionSteps)
                      .Add("step", session.SectionStep())
                      .Add("plane", plane ? SectionPlaneText(*plane) : std::string())
                      .Add("value", plane ? plane->value : 0.0)
                      .Text());
}

}   // extern "C"
