// The cameras of a turn: the first frame's eye carried once around the target, in equal steps.
#pragma once

#include "geometry/view_state.h"
#include "surfaces/wireframe.h"

// The camera of frame k (0 to n - 1) of a turn of n frames. first is the record as the first
// frame's camera step left it; frame k sees from first's eye turned by k/n of a full circle about
// first's up through the target, each frame computed from first alone, so that nothing drifts and
// the last frame is one step before the first. Frame 0 is the first frame's camera itself.
// With TurnAxis::Z the eye and up turn about the world's z axis through the target instead, as
// a turntable carries a surface of revolution about its own axis.
enum class TurnAxis { Screen, Z };
Camera TurnFrameCamera(const ViewState& first, const Wireframe& wire, int k, int n, TurnAxis axis = TurnAxis::Screen);

// Turns view's eye by angle radians about its own up through the target (Screen), or turns its eye
// and up about the world's z axis through the target (Z); the one step of every turn.
void TurnView(ViewState& view, TurnAxis axis, double angle);
