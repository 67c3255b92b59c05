// The square's focus frame and its arrow keys.
#include "ui/frame_square.h"

#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QWheelEvent>

std::optional<QPoint> ArrowTravel(int key)
{
    switch (key) {
    case Qt::Key_Left: return QPoint(-kOrbitKeyPixels, 0);
    case Qt::Key_Right: return QPoint(kOrbitKeyPixels, 0);
    case Qt::Key_Up: return QPoint(0, -kOrbitKeyPixels);
    case Qt::Key_Down: return QPoint(0, kOrbitKeyPixels);
    default: return std::nullopt;
    }
}

void CFrameSquare::paintEvent(QPaintEvent*)
{
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

void CFrameSquare::keyPressEvent(QKeyEvent* event)
{
    const std::optional<QPoint> travel = ArrowTravel(event->key());
    if (travel && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier)
        emit arrowStep(*travel);
    else
        QWidget::keyPressEvent(event);   // on to the dialog: Esc, Enter and the rest
}

void CFrameSquare::wheelEvent(QWheelEvent* event)
{
    emit wheelTurned(event->angleDelta().y());
}

void CFrameSquare::focusInEvent(QFocusEvent* event)
{
    update();
    QWidget::focusInEvent(event);
}

void CFrameSquare::focusOutEvent(QFocusEvent* event)
{
    update();
    QWidget::focusOutEvent(event);
}
