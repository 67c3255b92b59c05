// Qt's slider actions as the session's bar steps, and a Qt bar showing the session's bar.
#pragma once

#include <optional>

#include "session/view_controls.h"

class QScrollBar;

// The step of a QAbstractSlider::SliderAction on a vertical bar; none for SliderNoAction.
// SliderMove is a thumb drag (ThumbTrack); the thumb's release is ThumbPosition.
std::optional<BarStep> BarStepForAction(int sliderAction);

// bar given the range and the thumb's position of state. Qt moves a slider by itself before its
// action reaches the handler; showing the session's bar afterwards puts the thumb where the view
// says, back where it was for a step that changed nothing.
void ShowBar(QScrollBar& bar, const BarState& state);
