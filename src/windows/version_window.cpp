#include "windows/version_window.h"

#include "toolkit/controls.h"
#include "toolkit/modal_window.h"
#include "version_text.h"
#include "windows/version_window_ids.h"

namespace {

enum class Showing { Open, Closed };

// The showing whose window exists: its state and its window.
Showing* shownState = nullptr;
HWND shownWindow = nullptr;

LRESULT onCreate(HWND window, const CREATESTRUCTW& creation)
{
    // One version window at a time.
    if (shownState)
        return -1;
    shownState = static_cast<Showing*>(creation.lpCreateParams);
    shownWindow = window;
    return 0;
}

LRESULT onDestroy(HWND window)
{
    // A refused second window is destroyed as well; it must not end the showing that exists.
    if (window != shownWindow)
        return 0;
    if (shownState)
        *shownState = Showing::Closed;
    shownState = nullptr;
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
    // Open before the window exists, so that its destruction at any moment ends the wait.
    Showing showing = Showing::Open;
    WindowClass windowClass;
    Window window;
    if (!openModalWindow(windowClass, window, owner, versionLayout, &showing))
        return false;
    const HWND parent = window.handle();
    Window icon;
    Window text;
    Window ok;
    if (!createStatic(icon, 0, "", SS_ICON, 8, 8, 16, 16, parent, versionIconId) ||
        !createStatic(text, 0, versionText, SS_SIMPLE, 32, 8, 72, 18, parent, versionTextId) ||
        !createButton(ok, 0, "OK", BS_PUSHBUTTON, 64, 22, 42, 18, parent, versionOkButtonId)) {
        closeModalWindow(parent);
        return false;
    }
    setIcon(icon, loadProgramIcon(instanceOf(owner)));
    ShowWindow(parent, SW_SHOWNORMAL);
    waitForModalWindow(owner, showing, Showing::Open);
    return true;
}
