#pragma once
// The steps that every modal window of the program takes the same way.
#include <windows.h>

// WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME.
constexpr DWORD modalWindowStyle = 0x80C80080;
constexpr int programIconId = 1001;
// COLOR_BTNFACE + 1 as a class brush.
HBRUSH buttonFaceBrush();

HINSTANCE instanceOf(HWND window);
// Icon resource 1001 of instance, shared, at its own size.
HICON loadProgramIcon(HINSTANCE instance);
// Leaves Move and Close in the window's system menu.
void trimSystemMenu(HWND window);
// Sizes the window for the client area and centres it on the owner's window rectangle.
void placeOverOwner(HWND window, HWND owner, int clientWidth, int clientHeight);
// WM_CLOSE of a modal window: enable the owner first, so activation returns to it, then destroy.
void closeModalWindow(HWND window);
