#include "windows/folder_window.h"

bool FolderWindow::show(HWND) { return false; }
