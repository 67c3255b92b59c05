// Reset, drag orbit, zoom and eye distance as every front end's controls apply them to the view.
#include "session/view_controls.h"

#include <algorithm>
#include <utility>

#include "geometry/view_changes.h"
#include "render/framing.h"
#include "render/pixel_mapping.h"

int BarPosition(double value)
{
    return TruncateToPixel(value);   // the program's one double-to-int truncation
}

namespace {

// As a bar control keeps them: the range never upside down, the thumb always within it.
void SetRange(BarState& bar, int minimum, int maximum)
{
    bar.minimum = minimum;
    bar.maximum = std::max(minimum, maximum);
    bar.position = std::clamp(bar.position, bar.minimum, bar.maximum);
}

void SetPosition(BarState& bar, int position)
{
    bar.position = std::clamp(position, bar.minimum, bar.maximum);
}

}   // namespace

ViewControls::ViewControls(ViewState& view, std::function<void()> renderScene)
    : m_view(view), m_renderScene(std::move(renderScene))
{
}

void ViewControls::ResetView()
{
    ResetViewState(m_view);
    SetRange(m_distanceBar, kDistanceBarMin, kDistanceBarMax);
    SetPosition(m_distanceBar, BarPosition(EyeDistance(m_view)));
    m_zoomGrown = false;
    SetRange(m_zoomBar, kZoomBarMin, kZoomBarMax);
    SetPosition(m_zoomBar, BarPosition(m_view.zoom));   // zoom itself, not 100 - zoom: both are 50 here
}

void ViewControls::ShowBars()
{
    SetRange(m_distanceBar, kDistanceBarMin, kDistanceBarMax);
    SetPosition(m_distanceBar, BarPosition(EyeDistance(m_view)));
    SetRange(m_zoomBar, kZoomBarMin, kZoomBarMax);
    SetPosition(m_zoomBar, BarPosition(100.0 - m_view.zoom));
}

void ViewControls::OnLButtonDown(IntPoint cursor)
{
    m_drag.anchor = cursor;
    m_drag.dragging = 1;
}

void ViewControls::OnLButtonUp()
{
    m_drag.dragging = 0;
}

void ViewControls::OnMouseMove(IntPoint cursor)
{
    if (m_drag.dragging != 1)
        return;
    m_drag.current = cursor;
    OrbitEye(m_view, m_drag.anchor, m_drag.current);
    m_renderScene();
    m_drag.anchor = m_drag.current;   // after the frame: the next step starts where this one ended
}

void ViewControls::OrbitStep(IntPoint travel)
{
    const DragState held = m_drag;
    OnLButtonDown({0, 0});
    OnMouseMove(travel);
    m_drag = held;
}

void ViewControls::Scroll(ViewBar bar, BarStep step, int position)
{
    if (bar == ViewBar::Zoom)
        ScrollZoom(step, position);
    else
        ScrollDistance(step, position);
    m_renderScene();
}

void ViewControls::ScrollZoom(BarStep step, int position)
{
    switch (step) {
    case BarStep::LineUp:
        SetZoom(m_view, m_view.zoom + 1.0);
        if (m_view.zoom > (m_zoomGrown ? kZoomLargest : kZoomMax))
            SetZoom(m_view, m_zoomGrown ? kZoomLargest : kZoomMax);
        break;
    case BarStep::LineDown:
        SetZoom(m_view, m_view.zoom - 1.0);
        if (m_view.zoom < kZoomMin)
            SetZoom(m_view, kZoomMin);
        break;
    case BarStep::ThumbPosition:
    case BarStep::ThumbTrack:
        // In doubles: the same value as the int difference, without its overflow for any int.
        SetZoom(m_view, 100.0 - static_cast<double>(position));
        break;
    default:
        return;
    }
    SetPosition(m_zoomBar, BarPosition(100.0 - m_view.zoom));
}

void ViewControls::SetFramedZoom(double zoom)
{
    SetZoom(m_view, std::clamp(zoom, kZoomMin, kZoomLargest));
    if (m_view.zoom > kZoomMax && !m_zoomGrown) {
        m_zoomGrown = true;
        SetRange(m_zoomBar, BarPosition(100.0 - kZoomLargest), kZoomBarMax);
    }
    SetPosition(m_zoomBar, BarPosition(100.0 - m_view.zoom));
    m_renderScene();
}

void ViewControls::ScrollDistance(BarStep step, int position)
{
    switch (step) {
    case BarStep::LineUp:
    case BarStep::LineDown: {
        double d = step == BarStep::LineUp ? EyeDistance(m_view) - 2.0 : EyeDistance(m_view) + 2.0;
        if (step == BarStep::LineUp && d < kDistanceMin)
            d = kDistanceMin;
        if (step == BarStep::LineDown && d > kDistanceMax)
            d = kDistanceMax;
        SetEyeDistance(m_view, d);
        SetPosition(m_distanceBar, BarPosition(d));
        break;
    }
    case BarStep::ThumbPosition:
    case BarStep::ThumbTrack:
        SetEyeDistance(m_view, static_cast<double>(position));
        SetPosition(m_distanceBar, position);
        break;
    default:
        break;
    }
}
