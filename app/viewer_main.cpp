// main() of vexilon: the window, and nothing from the command line.
#include "ui/viewer_app.h"

int main(int argc, char** argv)
{
    // Qt sees only the program name, so no argument can change the window; Qt's environment
    // variables still apply.
    static char fallbackName[] = "vexilon";
    char* programName = argc > 0 && argv[0] != nullptr ? argv[0] : fallbackName;
    int qtArgc = 1;
    char* qtArgv[] = {programName, nullptr};
    CViewerApp app(qtArgc, qtArgv);
    SurfaceRegistry surfaces;   // the built-in eight; the gallery and the user's join at start
    return app.InitInstance(surfaces);
}
