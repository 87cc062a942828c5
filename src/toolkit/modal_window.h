#pragma once
// The steps that every modal window of the program takes the same way.
#include "toolkit/message_pump.h"
#include "toolkit/window.h"
#include "toolkit/window_class.h"

#include <windows.h>

// WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME.
constexpr DWORD modalWindowStyle = 0x80C80080;
constexpr int programIconId = 1001;
// COLOR_BTNFACE + 1 as a class brush.
HBRUSH buttonFaceBrush();

HINSTANCE instanceOf(HWND window);
// Icon resource 1001 of instance, shared, at its own size.
HICON loadProgramIcon(HINSTANCE instance);
// WM_CLOSE of a modal window: enable the owner first, so activation returns to it, then destroy.
// A window whose controls could not all be made is taken down the same way.
void closeModalWindow(HWND window);

// What sets one modal window apart from the others.
struct ModalWindowLayout {
    LPCSTR className;
    LPCSTR title;
    WNDPROC procedure;
    int clientWidth;
    int clientHeight;
};
// Registers the class with the program icon, creates the window (hidden) over the owner with
// parameter as creation parameter, trims its system menu, disables the owner and places the
// window. False when the class or the window cannot be made; the class is then unregistered and
// the owner left enabled.
bool openModalWindow(WindowClass& windowClass, Window& window, HWND owner, const ModalWindowLayout& layout,
                     LPVOID parameter);
// Runs the thread's messages while state, which the window's procedure changes as the window
// goes, stays open; then enables the owner. The window may have gone without its close handling
// (with its owner, say): the owner must never stay disabled.
template <typename State>
void waitForModalWindow(HWND owner, const volatile State& state, State open)
{
    while (state == open)
        pumpOrSleep();
    EnableWindow(owner, TRUE);
}
