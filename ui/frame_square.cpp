// The square's focus frame and its arrow keys.
#include "ui/frame_square.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPalette>
#include <QPen>
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
    // Two lines of the highlight colour in the margin, a pixel off the picture: a style's own
    // focus frame may tint the whole rectangle, and the picture must stay as drawn.
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 1));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
}

void CFrameSquare::keyPressEvent(QKeyEvent* event)
{
    const std::optional<QPoint> travel = ArrowTravel(event->key());
    if (travel && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier)
        emit arrowStep(*travel);
    else if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        if (!event->isAutoRepeat())
            emit turnKey();
    }
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
