#pragma once
// The window procedure of the progress window. It reaches the run's done flag through the
// creation parameter and sets it when the window goes, however it was closed.
#include <windows.h>

LRESULT CALLBACK convertWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
