// "Otra:", its list and "Definir…": the gallery and the user's own surfaces, read at start, and
// the dialog "Superficie propia" previewed in the square; each choice goes to the session.
#pragma once

#include <memory>

#include <QObject>

#include "session/own_surfaces.h"

class QWidget;
struct FormulaProblem;
struct Scene;
class ViewSession;
namespace Ui {
class CViewerDlg;
}

class COtherSurfaceGroup : public QObject {
public:
    // Reads the gallery and the user's file into the session's registry; what could not be read is
    // told in a message once the window shows.
    COtherSurfaceGroup(QWidget& window, Ui::CViewerDlg& ui, ViewSession& session);

    // A link's scene shown (one's own formulas accepted as "Definir…" does) and chosen in the
    // buttons or the list; false with the problem, and nothing changed.
    bool OpenScene(const Scene& scene, FormulaProblem& problem);

private:
    void ListOwnSurfaces();   // the list from the registry, the choice kept
    void OnOtherSurface();
    void OnDefineButton();

    QWidget*                     m_window;
    Ui::CViewerDlg*              m_ui;
    ViewSession&                 m_session;
    SurfaceRegistry&             m_surfaces;
    std::unique_ptr<OwnSurfaces> m_own;
    bool                         m_tracing = false;   // a chosen surface is being sampled
};
