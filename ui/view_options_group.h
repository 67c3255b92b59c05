// The "Vista" group of the window: a switch and a key for each option of how frames are drawn,
// the line width, and "Intercambiar ojos"; each change goes to the session's frame style.
#pragma once

#include <functional>

#include <QObject>

#include "render/frame_style.h"

class QAction;
class QWidget;
class ViewSession;
namespace Ui {
class CViewerDlg;
}

class CViewOptionsGroup : public QObject {
public:
    // redraw: the shown camera is to be drawn again in the new style, without a camera step.
    CViewOptionsGroup(QWidget& window, Ui::CViewerDlg& ui, ViewSession& session, std::function<void()> redraw);

    QAction* SwapEyesAction() const { return m_swapEyesAction; }
    // The group set to the session's style, which a link brought, without drawing again.
    void ShowStyle();

private:
    void OnViewOption();   // reads the group into the session's style

    QWidget*              m_window;
    Ui::CViewerDlg*       m_ui;
    ViewSession&          m_session;
    std::function<void()> m_redraw;
    QAction*              m_swapEyesAction = nullptr;   // "Intercambiar ojos", I; with the anaglyph only
};
