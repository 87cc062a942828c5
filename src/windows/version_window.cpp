#include "windows/version_window.h"

#include "toolkit/controls.h"
#include "toolkit/message_pump.h"
#include "toolkit/modal_window.h"
#include "version_text.h"
#include "windows/version_window_ids.h"

namespace {

// The showing whose window exists: its done flag and its window.
int* shownDoneFlag = nullptr;
HWND shownWindow = nullptr;

LRESULT onCreate(HWND window, const CREATESTRUCTW& creation)
{
    // One version window at a time.
    if (shownDoneFlag)
        return -1;
    shownDoneFlag = static_cast<int*>(creation.lpCreateParams);
    shownWindow = window;
    return 0;
}

LRESULT onDestroy(HWND window)
{
    // A refused second window is destroyed as well; it must not end the showing that exists.
    if (window != shownWindow)
        return 0;
    if (shownDoneFlag)
        *shownDoneFlag = 1;
    shownDoneFlag = nullptr;
    shownWindow = nullptr;
    return 0;
}

LRESULT onCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (wParam != versionOkButtonId)
        return DefWindowProcW(window, WM_COMMAND, wParam, lParam);
    SendMessageW(window, WM_CLOSE, 0, 0);
    return 0;
}

LRESULT CALLBACK versionWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return onCreate(window, *reinterpret_cast<const CREATESTRUCTW*>(lParam));
    case WM_DESTROY:
        return onDestroy(window);
    case WM_CLOSE:
        closeModalWindow(window);
        return 0;
    case WM_COMMAND:
        return onCommand(window, wParam, lParam);
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

const ModalWindowLayout versionLayout{"morlo_version", "バージョン情報", versionWindowProcedure, 112, 46};

} // namespace

bool VersionWindow::show(HWND owner)
{
    // Cleared before the window exists, so that its destruction at any moment ends the wait.
    int done = 0;
    WindowClass windowClass;
    Window window;
    if (!openModalWindow(windowClass, window, owner, versionLayout, &done))
        return false;
    const HWND parent = window.handle();
    Window icon;
    Window text;
    Window ok;
    createStatic(icon, 0, "", SS_ICON, 8, 8, 16, 16, parent, versionIconId);
    setIcon(icon, loadProgramIcon(instanceOf(owner)));
    createStatic(text, 0, versionText, SS_SIMPLE, 32, 8, 72, 18, parent, versionTextId);
    createButton(ok, 0, "OK", BS_PUSHBUTTON, 64, 22, 42, 18, parent, versionOkButtonId);
    ShowWindow(parent, SW_SHOWNORMAL);
    modalWait(done);
    return true;
}
