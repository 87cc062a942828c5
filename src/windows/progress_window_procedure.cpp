#include "windows/progress_window_procedure.h"

#include "toolkit/modal_window.h"
#include "windows/progress_window_ids.h"

namespace {

// Only one run exists at a time; each new progress window simply takes the pointer over.
ProgressWindowState* runState = nullptr;

LRESULT onCreate(LPARAM lParam)
{
    runState = static_cast<ProgressWindowState*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    return 0;
}

// Closing and cancelling are one event: the run learns of both from the state.
LRESULT onDestroy()
{
    if (runState)
        *runState = ProgressWindowState::Closed;
    return 0;
}

LRESULT onClose(HWND window)
{
    closeModalWindow(window);
    return 0;
}

LRESULT onCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) != closeButtonId || HIWORD(wParam) != BN_CLICKED)
        return DefWindowProcW(window, WM_COMMAND, wParam, lParam);
    SendMessageW(window, WM_CLOSE, 0, 0);
    return 0;
}

} // namespace

LRESULT CALLBACK convertWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return onCreate(lParam);
    case WM_DESTROY:
        return onDestroy();
    case WM_CLOSE:
        return onClose(window);
    case WM_COMMAND:
        return onCommand(window, wParam, lParam);
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
