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

ViewControls::ViewControls(ViewState& view, ScrollBar& zoomBar, ScrollBar& distanceBar,
                           std::function<void()> renderScene)
    : m_view(view), m_zoomBar(zoomBar), m_distanceBar(distanceBar), m_renderScene(std::move(renderScene))
{
}

void ViewControls::ResetView()
{
    ResetViewState(m_view);
    m_distanceBar.SetRange(kDistanceBarMin, kDistanceBarMax);
    m_distanceBar.SetPosition(BarPosition(EyeDistance(m_view)));
    m_zoomGrown = false;
    m_zoomBar.SetRange(kZoomBarMin, kZoomBarMax);
    m_zoomBar.SetPosition(BarPosition(m_view.zoom));   // zoom itself, not 100 - zoom: both are 50 here
}

void ViewControls::ShowBars()
{
    m_distanceBar.SetRange(kDistanceBarMin, kDistanceBarMax);
    m_distanceBar.SetPosition(BarPosition(EyeDistance(m_view)));
    m_zoomBar.SetRange(kZoomBarMin, kZoomBarMax);
    m_zoomBar.SetPosition(BarPosition(100.0 - m_view.zoom));
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

void ViewControls::OnVScroll(int code, int position, int barId)
{
    if (barId == kZoomBarId)
        ScrollZoom(code, position);
    else if (barId == kDistanceBarId)
        ScrollDistance(code, position);
    m_renderScene();
}

void ViewControls::ScrollZoom(int code, int position)
{
    switch (code) {
    case SB_LINEUP:
        SetZoom(m_view, m_view.zoom + 1.0);
        if (m_view.zoom > (m_zoomGrown ? kZoomLargest : kZoomMax))
            SetZoom(m_view, m_zoomGrown ? kZoomLargest : kZoomMax);
        break;
    case SB_LINEDOWN:
        SetZoom(m_view, m_view.zoom - 1.0);
        if (m_view.zoom < kZoomMin)
            SetZoom(m_view, kZoomMin);
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        // In doubles: the same value as the int difference, without its overflow for any int.
        SetZoom(m_view, 100.0 - static_cast<double>(position));
        break;
    default:
        return;
    }
    m_zoomBar.SetPosition(BarPosition(100.0 - m_view.zoom));
}

void ViewControls::SetFramedZoom(double zoom)
{
    SetZoom(m_view, std::clamp(zoom, kZoomMin, kZoomLargest));
    if (m_view.zoom > kZoomMax && !m_zoomGrown) {
        m_zoomGrown = true;
        m_zoomBar.SetRange(BarPosition(100.0 - kZoomLargest), kZoomBarMax);
    }
    m_zoomBar.SetPosition(BarPosition(100.0 - m_view.zoom));
    m_renderScene();
}

void ViewControls::ScrollDistance(int code, int position)
{
    switch (code) {
    case SB_LINEUP:
    case SB_LINEDOWN: {
        double d = code == SB_LINEUP ? EyeDistance(m_view) - 2.0 : EyeDistance(m_view) + 2.0;
        if (code == SB_LINEUP && d < kDistanceMin)
            d = kDistanceMin;
        if (code == SB_LINEDOWN && d > kDistanceMax)
            d = kDistanceMax;
        SetEyeDistance(m_view, d);
        m_distanceBar.SetPosition(BarPosition(d));
        break;
    }
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        SetEyeDistance(m_view, static_cast<double>(position));
        m_distanceBar.SetPosition(position);
        break;
    default:
        break;
    }
}
