// The application object: runs the main window modally and ends when it closes.
#pragma once

#include <QApplication>

class CViewerApp : public QApplication {
    Q_OBJECT

public:
    // argc and argv must outlive the object; the window reads nothing from them.
    CViewerApp(int& argc, char** argv);

    int InitInstance();   // the main dialog, run with exec(); its result is not used
};
