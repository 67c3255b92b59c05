// The session's actions: each changes the view by a control's rule and makes the frame's camera step.
#include "session/view_session.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "geometry/view_changes.h"
#include "render/frame.h"
#include "render/framing.h"
#include "render/turntable.h"

ViewSession::ViewSession(SurfaceRegistry& surfaces, std::function<void()> onFrame)
    : m_surfaces(surfaces), m_controls(m_view, [this] { NextFrame(); }),
      m_onFrame(std::move(onFrame))
{
}

void ViewSession::NextFrame()
{
    // The camera step belongs to every event, so the view after any sequence stays the same to
    // the bit; only the drawing waits for the front end.
    m_frameSurface = m_view.surface;
    m_stepView = {m_view.eye, m_view.target, m_view.up, m_view.zoom};
    m_camera = BeginFrame(m_view, WireframeOf(m_frameSurface));
    m_hasFrame = true;
    ++m_framesRendered;
    if (m_onFrame)
        m_onFrame();
}

void ViewSession::FrameToFit()
{
    if (!m_hasFrame || m_frameSurface == kSurfaceNone)
        return;
    m_controls.SetFramedZoom(FramingZoom(m_camera, WireframeOf(m_frameSurface), m_style.parallel));
}

const Wireframe& ViewSession::WireframeOf(SurfaceKind kind) const
{
    if (kind == kPreviewSurface && m_preview)
        return *m_preview;
    if (kind == m_variedSurface && m_variedWire)
        return *m_variedWire;
    return m_surfaces.WireframeOf(kind);
}

void ViewSession::ChooseSurface(SurfaceKind kind)
{
    if (kind != m_variedSurface) {   // another surface starts at its own values; Home keeps them
        m_varied.reset();
        m_variedWire.reset();
        m_variedSurface = kSurfaceNone;
    }
    const bool another = kind != m_view.surface;
    m_controls.ResetView();
    m_view.surface = kind;
    if (another)
        CentreSection();
    NextFrame();
}

void ViewSession::ShowView(const SceneView& view)
{
    m_view.eye = view.eye;
    m_view.target = view.target;
    m_view.up = view.up;
    m_view.zoom = view.zoom;
    m_controls.ShowBars();
    NextFrame();
}

void ViewSession::ResetKey()
{
    if (HasSurface())
        ChooseSurface(m_view.surface);
}

void ViewSession::PressButton(IntPoint cursor)
{
    m_press = cursor;
    m_controls.OnLButtonDown(cursor);
}

void ViewSession::ReleaseButton()
{
    m_controls.OnLButtonUp();
}

void ViewSession::MoveCursor(IntPoint cursor)
{
    if (m_squareSide != kCanvasSide) {
        // From the press, not from the last step, so rounding never adds up along a drag.
        const auto scaled = [this](int from, int to) {
            return from + static_cast<int>(std::lround(static_cast<double>(to - from) * kCanvasSide / m_squareSide));
        };
        cursor = {scaled(m_press.x, cursor.x), scaled(m_press.y, cursor.y)};
    }
    m_controls.OnMouseMove(cursor);
}

void ViewSession::Scroll(ViewBar bar, BarStep step, int position)
{
    m_controls.Scroll(bar, step, position);
}

void ViewSession::ScrollKey(ViewBar bar, BarStep step)
{
    if (HasSurface())
        m_controls.Scroll(bar, step, 0);   // a line step: the position is not read
}

void ViewSession::OrbitKey(IntPoint travel)
{
    if (HasSurface())
        m_controls.OrbitStep(travel);
}

void ViewSession::Wheel(int angleDelta)
{
    if (!HasSurface())
        return;   // before the first surface the "Z" bar is empty and takes no step either
    m_wheelDelta += angleDelta;
    // Fine-grained wheels send fractions of a notch: a step for every whole notch gathered.
    while (m_wheelDelta >= kWheelNotch) {
        m_wheelDelta -= kWheelNotch;
        ScrollKey(ViewBar::Zoom, BarStep::LineUp);
    }
    while (m_wheelDelta <= -kWheelNotch) {
        m_wheelDelta += kWheelNotch;
        ScrollKey(ViewBar::Zoom, BarStep::LineDown);
    }
}

void ViewSession::TurnTick()
{
    if (!HasSurface() || Drag().dragging)
        return;   // a held button pauses the turn; the drag steps the view meanwhile
    const double step = 2.0 * PiValue() / kTurnFrames;
    TurnView(m_view, m_turnAxis, step);
    NextFrame();
}

bool ViewSession::SetStyle(const FrameStyle& style)
{
    FrameStyle next = style;
    next.section = m_style.section;
    if (next == m_style)
        return false;
    m_style = next;
    return true;
}

void ViewSession::ShowPreview(std::shared_ptr<const Wireframe> wire, bool first)
{
    m_preview = std::move(wire);
    if (first)
        m_controls.ResetView();   // a new surface starts at its first view; later previews keep it
    m_view.surface = kPreviewSurface;
    NextFrame();
}

void ViewSession::EndPreview(SurfaceKind before, bool hadFrame)
{
    m_preview.reset();
    if (before != kSurfaceNone && before != kPreviewSurface) {
        ChooseSurface(before);
    } else {
        m_view.surface = kSurfaceNone;
        m_frameSurface = kSurfaceNone;
        m_hasFrame = hadFrame && before != kSurfaceNone;
        if (m_onFrame)
            m_onFrame();
    }
}
