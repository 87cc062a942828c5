#include "windows/version_window.h"

bool VersionWindow::show(HWND) { return false; }
