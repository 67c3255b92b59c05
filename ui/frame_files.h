// "Guardar imagen…" and "Guardar animación…": Qt's save dialogs in Spanish, the session's writing,
// and a message naming the file and the reason when it fails.
#pragma once

#include <optional>
#include <string>

#include <QString>

#include "render/canvas.h"

class CParameterGroup;
class CTurntableSwitch;
class QFileDialog;
class QWidget;
class ViewSession;

class CFrameFiles {
public:
    CFrameFiles(QWidget& window, ViewSession& session, CTurntableSwitch& turntable);

    // Writes the shown frame to path in the image format its name ends in (PNG, SVG, PDF, EPS or
    // TikZ; PNG for any other), size pixels a side.
    bool SaveFrame(const QString& path, int size = kCanvasSide);
    // Writes a GIF of one full turn of the shown frame's view to path, or of a sweep of the
    // parameter sweep when it is not empty, with a progress dialog; the turntable and "Animar" wait
    // meanwhile. On cancel or failure nothing is left. labelled: a sweep's value in a corner of each.
    bool SaveAnimation(const QString& path, const std::string& sweep, bool labelled = false);
    // The same for the animation proposed first: the sweep "Animar" runs, else the turn.
    bool SaveAnimation(const QString& path);

    // The group whose sliders name the parameters a saved animation may sweep.
    void SetParameterGroup(CParameterGroup* group) { m_parameters = group; }

    void AskAndSaveFrame();       // the dialog, then SaveFrame
    void AskAndSaveAnimation();   // the choice of turn or sweep, the dialog, then SaveAnimation

private:
    // "Giro" or "Barrido de …" for a surface with sliders, asked in a question: the parameter to
    // sweep, empty for the turn, nothing when cancelled. The turn, unasked, for any other surface.
    // A sweep's value is shown in its frames when the question's box is checked (labelled).
    std::optional<std::string> AskWhichAnimation(bool& labelled);
    QString SaveDirectory();   // where a save dialog opens; kept for this run only
    void SetUpSaveDialog(QFileDialog& dialog, const QString& title);

    QWidget&          m_window;
    ViewSession&      m_session;
    CTurntableSwitch& m_turntable;
    QString           m_saveDirectory;
    int               m_saveSize = kCanvasSide;   // the size the last save chose
    CParameterGroup*  m_parameters = nullptr;
};
