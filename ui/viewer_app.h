// The application object: runs the main window modally and ends when it closes.
#pragma once

#include <QApplication>
#include <QTranslator>

#include "surfaces/registry.h"

// Makes the program Spanish whatever the session's locale: the default locale Spanish of Spain and
// Qt's own Spanish texts (qtbase_es) for its standard dialogs. False when Qt's translation file is
// not installed; Qt's dialogs then stay in English and everything else works the same.
bool InstallSpanish(QCoreApplication& app, QTranslator& qtTranslator);

class CViewerApp : public QApplication {
    Q_OBJECT

public:
    // argc and argv must outlive the object; the window reads nothing from them.
    CViewerApp(int& argc, char** argv);

    int InitInstance(SurfaceRegistry& surfaces);   // the main dialog, run with exec(); its result is not used

private:
    QTranslator m_qtTranslator;   // Qt's Spanish texts, installed before any window exists
};
