#include "mainwindow/main_window.h"

#include <windows.h>

// The command line and the show command are not used: every start opens the same empty window.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    MainWindow mainWindow;
    mainWindow.run(instance);
    return 0;
}
