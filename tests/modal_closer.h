// Test helper: acts on each modal dialog as soon as it runs, from the dialog's own event loop.
#pragma once

#include <functional>
#include <utility>

#include <QApplication>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

// Checks on every turn of the event loop for a new active modal widget and hands it to the
// action, which must end it (click its button, press Esc, close it).
class ModalCloser : public QObject {
public:
    explicit ModalCloser(std::function<void(QWidget&)> action) : m_action(std::move(action))
    {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { Poll(); });
        m_timer.start();
    }
    int Seen() const { return m_seen; }

private:
    void Poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == m_last || !modal->isVisible())
            return;
        m_last = modal;
        ++m_seen;
        m_action(*modal);
    }

    std::function<void(QWidget&)> m_action;
    QTimer             m_timer;
    QPointer<QWidget>  m_last;
    int                m_seen = 0;
};
