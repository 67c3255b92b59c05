// "Copiar enlace" and "Abrir enlace…" of the picture's menu: the shown scene as a link's fragment
// on the clipboard, and a pasted link or fragment shown with the window's controls set to it.
#pragma once

#include <functional>

#include <QObject>
#include <QString>

class QAction;
class QWidget;
class ViewSession;
struct Scene;
struct FormulaProblem;

class CSceneLinks : public QObject {
public:
    // open: shows a decoded scene and sets the window's controls to it; false with the problem.
    CSceneLinks(QWidget& window, ViewSession& session, std::function<bool(const Scene&, FormulaProblem&)> open);

    QAction* CopyAction() const { return m_copy; }
    QAction* OpenAction() const { return m_open; }

    // Shows the scene of text (a link, "#fragment" or the fragment); a problem is shown in a
    // message box and changes nothing.
    bool Open(const QString& text);

private:
    QWidget*      m_window;
    ViewSession&  m_session;
    std::function<bool(const Scene&, FormulaProblem&)> m_openScene;
    QAction*      m_copy = nullptr;   // "Copiar enlace"
    QAction*      m_open = nullptr;   // "Abrir enlace…"
};
