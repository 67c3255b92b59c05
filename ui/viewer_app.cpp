// Start-up of the window program.
#include "ui/viewer_app.h"

#include <QString>

#include "ui/resource.h"
#include "ui/viewer_dlg.h"

CViewerApp::CViewerApp(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QString::fromUtf8(kApplicationName));
    setApplicationVersion(QString::fromUtf8(kApplicationVersion));
}

int CViewerApp::InitInstance()
{
    CViewerDlg dlg;
    dlg.exec();
    return 0;
}
