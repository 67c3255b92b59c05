// "Corte" in the window: the plane's axis in the picture's menu, and its slider right of the
// square, shown only while a plane is chosen. The rule of both is the session's.
#pragma once

#include <functional>
#include <memory>

#include <QMenu>
#include <QObject>
#include <QRect>

class QActionGroup;
class QGroupBox;
class QLabel;
class QSlider;
class QWidget;
class ViewSession;

class CSectionControl : public QObject {
public:
    // redraw: the same camera drawn anew; relayout: the slider shown or hidden, the column laid out.
    CSectionControl(QWidget& window, ViewSession& session, std::function<void()> redraw, std::function<void()> relayout);

    QMenu* Menu() const { return m_menu.get(); }
    bool IsShown() const;
    void SetGeometry(const QRect& rect, bool shown = true);   // shown: unless a presentation hides it
    // The slider and its label from the session, e.g. after another surface took the plane through
    // its middle.
    void Refresh();

private:
    void ChooseAxis(int index);   // 0 none, 1..3 x, y, z
    QString ValueText() const;

    ViewSession&          m_session;
    std::function<void()> m_redraw, m_relayout;
    std::unique_ptr<QMenu> m_menu;   // no child of the window: it is no control of the dialog's
    QActionGroup*         m_axes = nullptr;
    QGroupBox*            m_group = nullptr;
    QLabel*               m_value = nullptr;
    QSlider*              m_slider = nullptr;
};
