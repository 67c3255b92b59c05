// Qt's slider actions in the words of a vertical scroll message.
#include "ui/scroll_bar.h"

#include <QScrollBar>

std::optional<int> ScrollCodeForAction(int sliderAction)
{
    switch (sliderAction) {
    case QAbstractSlider::SliderSingleStepSub: return SB_LINEUP;   // the upper arrow: smaller values
    case QAbstractSlider::SliderSingleStepAdd: return SB_LINEDOWN;
    case QAbstractSlider::SliderPageStepSub: return SB_PAGEUP;
    case QAbstractSlider::SliderPageStepAdd: return SB_PAGEDOWN;
    case QAbstractSlider::SliderToMinimum: return SB_TOP;
    case QAbstractSlider::SliderToMaximum: return SB_BOTTOM;
    case QAbstractSlider::SliderMove: return SB_THUMBTRACK;
    default: return std::nullopt;
    }
}

void CScrollBar::SetRange(int minimum, int maximum)
{
    m_bar->setRange(minimum, maximum);
}

void CScrollBar::SetPosition(int position)
{
    // setValue moves value and thumb together and triggers no action. Inside an action Qt then
    // applies the thumb position, which is now this one.
    m_bar->setValue(position);
    m_positionSet = true;
}

void CScrollBar::EndAction()
{
    if (!m_positionSet)
        m_bar->setValue(m_bar->value());   // value still holds the position before the action
}
