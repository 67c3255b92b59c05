// A Qt scroll bar seen through the view controls' bar interface, and Qt's actions as scroll codes.
#pragma once

#include <optional>

#include "session/view_controls.h"

class QScrollBar;

// The scroll code of a QAbstractSlider::SliderAction on a vertical bar; none for SliderNoAction.
// SliderMove is a thumb drag (SB_THUMBTRACK); the thumb's release is SB_THUMBPOSITION.
std::optional<int> ScrollCodeForAction(int sliderAction);

// Wraps a bar owned by its dialog. Qt moves a slider by itself before its action reaches the
// handler; an action that the handler leaves without a position puts the thumb back.
class CScrollBar final : public ScrollBar {
public:
    CScrollBar() = default;
    void Attach(QScrollBar* bar) { m_bar = bar; }
    QScrollBar* Bar() const { return m_bar; }

    void SetRange(int minimum, int maximum) override;
    void SetPosition(int position) override;

    void BeginAction() { m_positionSet = false; }
    void EndAction();   // the thumb back at the last position set, unless the handler set one

private:
    QScrollBar* m_bar = nullptr;
    bool        m_positionSet = false;
};
