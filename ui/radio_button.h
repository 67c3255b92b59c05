// A radio button that takes a click anywhere in its rectangle, as a dialog template's button does.
#pragma once

#include <QRadioButton>

class CRadioButton : public QRadioButton {
    Q_OBJECT

public:
    using QRadioButton::QRadioButton;

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};
