// The views of vexilon-render: the one the options give, and the frames of --frames or --turn.
#pragma once

#include <vector>

#include "app/cli_options.h"
#include "geometry/view_state.h"
#include "surfaces/wireframe.h"

// The view after choosing the surface and making each change, with the camera step of a frame
// in between, as the window makes a frame after every change.
ViewState ViewAfter(const RenderRequest& request, const Wireframe& wire);

// The cameras of the request's frames in order. The first is the frame the options give without
// --frames or --turn; with --frames each next one makes the --orbit steps again; with --turn
// frame k sees from the first frame's eye turned by k/N of a circle about its up (or about z).
// The cameras do not depend on the wireframe's points: a sweep draws each frame's own.
class FrameSequence {
public:
    FrameSequence(const RenderRequest& request, const Wireframe& wire);

    int Count() const { return m_count; }
    Camera Next();   // the next frame's camera; past the last, more of the same motion

private:
    const Wireframe&      m_wire;
    ViewState             m_view;     // with --turn, the record as the first frame left it
    std::vector<IntPoint> m_steps;    // the --orbit steps that --frames makes again
    int                   m_turn;
    TurnAxis              m_axis;
    int                   m_count;
    int                   m_next = 0;
};
