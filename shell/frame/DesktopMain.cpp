// The desktop side of the varnel executable.
#include "shell/frame/DesktopMain.h"

#include "shell/frame/VarnelApp.h"

int RunDesktop(int argc, char** argv) {
    CVarnelApp app(argc, argv);
    const int nEarlyExit = app.InitInstance();
    if (nEarlyExit >= 0) return nEarlyExit;
    return app.exec();
}
