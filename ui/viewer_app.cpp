// Start-up of the window program.
#include "ui/viewer_app.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QString>

#include "ui/resource.h"
#include "ui/viewer_dlg.h"
#include "version.h"

bool InstallSpanish(QCoreApplication& app, QTranslator& qtTranslator)
{
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    if (!qtTranslator.load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return app.installTranslator(&qtTranslator);
}

CViewerApp::CViewerApp(int& argc, char** argv) : QApplication(argc, argv)
{
    setDesktopFileName(QStringLiteral("org.vexilon.Vexilon"));   // Wayland matches the window to its menu entry by it
    setApplicationName(QString::fromUtf8(kApplicationName));
    setApplicationVersion(QString::fromUtf8(kVexilonVersion));
    InstallSpanish(*this, m_qtTranslator);
}

int CViewerApp::InitInstance(SurfaceRegistry& surfaces)
{
    CViewerDlg dlg(surfaces);
    dlg.exec();
    return 0;
}
