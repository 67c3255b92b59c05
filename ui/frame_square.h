// The square of the frames as a control of its own: it takes the keyboard focus and the arrow keys.
#pragma once

#include <optional>

#include <QPoint>
#include <QWidget>

constexpr int kSquareFocusMargin = 3;   // the focus frame lies around the picture, never over it
constexpr int kOrbitKeyPixels = 10;     // one arrow key turns the view as a drag this long

// The cursor travel that arrow key stands for, kOrbitKeyPixels long, rows growing downwards;
// none for other keys.
std::optional<QPoint> ArrowTravel(int key);

// Sits over the picture, which the dialog paints beneath it; paints only its focus frame. Buttons
// and moves of the mouse pass on to the dialog, so a drag and the context menu work as on the rest
// of its surface; the wheel is the square's own.
class CFrameSquare : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;

signals:
    void arrowStep(QPoint travel);      // an arrow key while focused: the cursor travel it stands for
    void wheelTurned(int angleDelta);   // eighths of a degree, positive away from the user
    void turnKey();                     // Space while focused, not repeated while held

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};
