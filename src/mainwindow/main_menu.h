#pragma once
// The main window's menu bar: File, Edit, Options and Help.
#include <windows.h>

// False only when the bar could not be made; an entry that cannot be added is left out.
bool buildMainMenu(HWND window);
