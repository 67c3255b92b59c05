// The sliders of the shown surface's parameters and "Animar": each value the surface sampled anew.
#include <algorithm>
#include <utility>

#include "session/view_session.h"

std::vector<ParameterControl> ViewSession::Parameters() const
{
    const SurfaceEntry* entry = m_surfaces.Find(m_view.surface);
    const SurfaceDefinition* def = m_variedSurface == m_view.surface && m_varied ? m_varied.get()
                                   : entry                                  ? entry->definition.get()
                                                                            : nullptr;
    std::vector<ParameterControl> controls;
    if (!def)
        return controls;
    for (const auto& [name, value] : def->params) {
        ParameterControl control{name, value == 0.0 ? -1.0 : std::min(0.0, 2 * value),
                                 value == 0.0 ? 1.0 : std::max(0.0, 2 * value), value};
        for (const ParameterRange& range : def->ranges)
            if (range.name == name) {
                control.least = range.least;
                control.greatest = range.greatest;
            }
        controls.push_back(control);
    }
    return controls;
}

bool ViewSession::SetParameter(const std::string& name, double value)
{
    const SurfaceEntry* entry = m_surfaces.Find(m_view.surface);
    if (!entry || !entry->definition)
        return false;
    SurfaceDefinition def = m_variedSurface == m_view.surface && m_varied ? *m_varied : *entry->definition;
    if (!::SetParameter(def, name, value))
        return false;
    def.ranges.clear();   // the slider keeps to its range; the value is not checked against it again
    DefinitionProblem problem;
    std::optional<Wireframe> wire = BuildTypedSurface(def, problem);
    if (!wire)
        return false;
    def.ranges = m_variedSurface == m_view.surface && m_varied ? m_varied->ranges : entry->definition->ranges;
    m_varied = std::make_shared<const SurfaceDefinition>(std::move(def));
    m_variedWire = std::make_shared<const Wireframe>(std::move(*wire));
    m_variedSurface = m_view.surface;
    NextFrame();   // the same view: a camera step as any redraw makes, no reset
    return true;
}

void ViewSession::SweepTick(const std::string& name)
{
    for (const ParameterControl& control : Parameters()) {
        if (control.name != name)
            continue;
        const double step = (control.greatest - control.least) / kSweepSteps;
        double next = control.value + m_sweepDirection * step;
        if (next >= control.greatest || next <= control.least) {   // back at an end: turn round there
            next = next >= control.greatest ? control.greatest : control.least;
            m_sweepDirection = -m_sweepDirection;
        }
        SetParameter(name, next);
    }
}
