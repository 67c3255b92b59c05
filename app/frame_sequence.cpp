// The views of the command line: changes in order, then the frames that follow the first.
#include "app/frame_sequence.h"

#include "geometry/view_changes.h"
#include "render/frame.h"
#include "render/framing.h"
#include "render/turntable.h"

ViewState ViewAfter(const RenderRequest& request, const Wireframe& wire)
{
    const bool parallel = request.style.parallel;
    ViewState view;
    ResetViewState(view);
    view.surface = request.surface;
    for (const ViewChange& change : request.changes) {
        BeginFrame(view, wire);   // the frame drawn before this change
        switch (change.kind) {
        case ViewChange::Kind::Zoom: SetZoom(view, change.a); break;
        case ViewChange::Kind::ZoomAuto: SetZoom(view, FramingZoom(CameraOf(view), wire, parallel)); break;
        case ViewChange::Kind::Distance: SetEyeDistance(view, change.a); break;
        case ViewChange::Kind::Orbit:
            OrbitEye(view, {0, 0}, {static_cast<int>(change.a), static_cast<int>(change.b)});
            break;
        case ViewChange::Kind::Eye: view.eye = {change.a, change.b, change.c}; break;
        }
    }
    if (request.sceneView) {   // the record a link's camera step starts from
        view.eye = request.sceneView->eye;
        view.target = request.sceneView->target;
        view.up = request.sceneView->up;
        view.zoom = request.sceneView->zoom;
    }
    return view;
}

FrameSequence::FrameSequence(const RenderRequest& request, const Wireframe& wire)
    : m_wire(wire), m_view(ViewAfter(request, wire)), m_turn(request.motion.turn), m_axis(request.motion.axis),
      m_count(request.motion.turn > 0 ? request.motion.turn : request.frames > 0 ? request.frames : 1)
{
    for (const ViewChange& change : request.changes)
        if (change.kind == ViewChange::Kind::Orbit)
            m_steps.push_back({static_cast<int>(change.a), static_cast<int>(change.b)});
}

Camera FrameSequence::Next()
{
    const int k = m_next++;
    if (k == 0)
        return BeginFrame(m_view, m_wire);
    if (m_turn > 0)
        return TurnFrameCamera(m_view, m_wire, k, m_turn, m_axis);
    // Each drag step a frame of its own in the window: a camera step between steps.
    for (size_t i = 0; i < m_steps.size(); ++i) {
        if (i > 0)
            BeginFrame(m_view, m_wire);
        OrbitEye(m_view, {0, 0}, m_steps[i]);
    }
    return BeginFrame(m_view, m_wire);
}
