// "Corte": the section plane's rule, the same in the window and the page.
#include "session/view_session.h"

#include <algorithm>
#include <cmath>

std::pair<double, double> ViewSession::SectionRange() const
{
    if (!m_style.section || !HasSurface())
        return {0.0, 0.0};
    return SectionExtent(WireframeOf(m_view.surface), m_style.section->axis).value_or(std::pair{0.0, 0.0});
}

void ViewSession::CentreSection()
{
    if (!m_style.section)
        return;
    const auto [least, greatest] = SectionRange();
    m_style.section->value = least / 2 + greatest / 2;
}

bool ViewSession::SetSectionAxis(std::optional<SectionAxis> axis)
{
    if (!axis) {
        const bool was = m_style.section.has_value();
        m_style.section.reset();
        return was;
    }
    if (m_style.section && m_style.section->axis == *axis)
        return false;
    m_style.section = SectionPlane{*axis, 0.0};
    CentreSection();
    return true;
}

bool ViewSession::SetSectionStep(int step)
{
    if (!m_style.section)
        return false;
    const auto [least, greatest] = SectionRange();
    step = std::clamp(step, 0, kSectionSteps);
    // The last step exactly at the greatest, as a sweep's last frame.
    const double value = step == kSectionSteps ? greatest : least + (greatest - least) * step / kSectionSteps;
    if (value == m_style.section->value)
        return false;
    m_style.section->value = value;
    return true;
}

bool ViewSession::SetSection(const std::optional<SectionPlane>& plane)
{
    if (plane == m_style.section)
        return false;
    m_style.section = plane;
    return true;
}

int ViewSession::SectionStep() const
{
    if (!m_style.section)
        return kSectionSteps / 2;
    const auto [least, greatest] = SectionRange();
    if (!(greatest > least))
        return kSectionSteps / 2;
    const double place = std::round((m_style.section->value - least) / (greatest - least) * kSectionSteps);
    return static_cast<int>(std::clamp(place, 0.0, double(kSectionSteps)));
}
