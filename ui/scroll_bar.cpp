// Qt's slider actions in the words of the session's bars.
#include "ui/scroll_bar.h"

#include <QScrollBar>

std::optional<BarStep> BarStepForAction(int sliderAction)
{
    switch (sliderAction) {
    case QAbstractSlider::SliderSingleStepSub: return BarStep::LineUp;   // the upper arrow: smaller values
    case QAbstractSlider::SliderSingleStepAdd: return BarStep::LineDown;
    case QAbstractSlider::SliderPageStepSub: return BarStep::PageUp;
    case QAbstractSlider::SliderPageStepAdd: return BarStep::PageDown;
    case QAbstractSlider::SliderToMinimum: return BarStep::Top;
    case QAbstractSlider::SliderToMaximum: return BarStep::Bottom;
    case QAbstractSlider::SliderMove: return BarStep::ThumbTrack;
    default: return std::nullopt;
    }
}

void ShowBar(QScrollBar& bar, const BarState& state)
{
    bar.setRange(state.minimum, state.maximum);
    // setValue moves value and thumb together and triggers no action. Inside an action Qt then
    // applies the thumb position, which is now this one.
    bar.setValue(state.position);
}
