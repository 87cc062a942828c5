#pragma once
// The window procedure of the progress window. It reaches the run's ProgressWindowState through
// the creation parameter and marks it closed when the window goes, however it was closed.
#include "windows/progress_window_state.h"

#include <windows.h>

LRESULT CALLBACK convertWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
