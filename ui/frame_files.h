// "Guardar imagen…" and "Guardar animación…": Qt's save dialogs in Spanish, the session's writing,
// and a message naming the file and the reason when it fails.
#pragma once

#include <QString>

class CParameterGroup;
class CTurntableSwitch;
class QFileDialog;
class QWidget;
class ViewSession;

class CFrameFiles {
public:
    CFrameFiles(QWidget& window, ViewSession& session, CTurntableSwitch& turntable);

    // Writes the shown frame to path, as SVG for a name ending in ".svg", else as PNG.
    bool SaveFrame(const QString& path);
    // Writes a GIF of one full turn of the shown frame's view to path with a progress dialog; the
    // turntable waits meanwhile. On cancel or failure nothing is left.
    bool SaveAnimation(const QString& path);

    // While "Animar" of group sweeps a parameter, "Guardar animación…" saves that sweep instead.
    void SetParameterGroup(CParameterGroup* group) { m_parameters = group; }

    void AskAndSaveFrame();       // the dialog, then SaveFrame
    void AskAndSaveAnimation();   // the dialog, then SaveAnimation

private:
    QString SaveDirectory();   // where a save dialog opens; kept for this run only
    void SetUpSaveDialog(QFileDialog& dialog, const QString& title);

    QWidget&          m_window;
    ViewSession&      m_session;
    CTurntableSwitch& m_turntable;
    QString           m_saveDirectory;
    CParameterGroup*  m_parameters = nullptr;
};
