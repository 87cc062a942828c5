#include "mainwindow/main_window.h"

#include "mainwindow/main_window_commands.h"
#include "mainwindow/music_list.h"
#include "windows/version_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

namespace {

// The one main window and the object it serves, null while the window is being built. Other
// windows of the class (a refused second main window) are not served, so they cannot disturb the
// first.
MainWindow* served = nullptr;
HWND servedWindow = nullptr;

MainWindow* objectOf(HWND window)
{
    return window == servedWindow ? served : nullptr;
}

LRESULT onCreate(HWND window)
{
    if (servedWindow)
        return -1;
    servedWindow = window;
    return 0;
}

LRESULT onDestroy(HWND window)
{
    if (window != servedWindow)
        return 0;
    served = nullptr;
    servedWindow = nullptr;
    PostQuitMessage(0);
    return 0;
}

// The top row keeps its place; the list fills the rest above the status bar.
LRESULT onSize(HWND window, WPARAM wParam, LPARAM lParam)
{
    const MainWindow* object = objectOf(window);
    if (!object)
        return 0;
    const Window& status = object->statusBar();
    status.send(WM_SIZE, wParam, lParam);
    // Works around Wine: the bar's pixels moved into the new area stay valid while the main window,
    // without WS_CLIPCHILDREN, erases that area over them, which left the totals blank.
    InvalidateRect(status.handle(), nullptr, TRUE);
    RECT statusRect = {};
    GetWindowRect(status.handle(), &statusRect);
    const int height = HIWORD(lParam) - (statusRect.bottom - statusRect.top) - 20;
    MoveWindow(object->listView().handle(), 0, 20, LOWORD(lParam), std::max(height, 0), TRUE);
    return 0;
}

// A changed tick changes the totals only; selection and focus change nothing that is shown.
LRESULT onNotify(HWND window, LPARAM lParam)
{
    MainWindow* object = objectOf(window);
    const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
    if (object && change->hdr.hwndFrom == object->listView().handle() && change->hdr.code == LVN_ITEMCHANGED &&
        (change->uChanged & LVIF_STATE) && ((change->uOldState ^ change->uNewState) & LVIS_STATEIMAGEMASK))
        object->tickChanged();
    return 0;
}

// Only the list has a menu; the caption bar's window menu is not offered either. From the
// keyboard it opens at the focused row.
LRESULT onContextMenu(HWND window, WPARAM wParam, LPARAM lParam)
{
    const MainWindow* object = objectOf(window);
    if (object && reinterpret_cast<HWND>(wParam) == object->listView().handle())
        showMusicListMenu(window, contextMenuPoint(lParam, MusicList(object->listView()).menuArea()));
    return 0;
}

// Every keystroke in a number field, and leaving it, shows the figures for the new number.
LRESULT onFieldNotification(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) != EN_CHANGE && HIWORD(wParam) != EN_KILLFOCUS)
        return DefWindowProcW(window, message, wParam, lParam);
    if (MainWindow* object = objectOf(window))
        object->updateFigures(window);
    return 0;
}

LRESULT onCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const std::uint16_t command = LOWORD(wParam);
    if (command == loopCountFieldId || command == fadeSecondsFieldId)
        return onFieldNotification(window, message, wParam, lParam);
    MainWindow* object = objectOf(window);
    switch (command) {
    case openCommand:
        if (object)
            openWithDialog(*object, window);
        return 0;
    case writeWaveCommand:
        if (object)
            writeWaveFiles(*object, window);
        return 0;
    case exitCommand:
        SendMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    case tickAllCommand:
    case untickAllCommand:
    case invertTicksCommand:
        if (object)
            object->changeTicks(command);
        return 0;
    case versionCommand:
        VersionWindow::show(window);
        return 0;
    default:
        if (object && (object->toggleChoice(window, command) || object->chooseFormat(window, command)))
            return 0;
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT onDropFiles(HWND window, WPARAM wParam)
{
    HDROP drop = reinterpret_cast<HDROP>(wParam);
    if (MainWindow* object = objectOf(window))
        openDropped(*object, window, drop);
    else
        DragFinish(drop);
    return 0;
}

} // namespace

void serveMainWindow(HWND window, MainWindow& object)
{
    if (window == servedWindow)
        served = &object;
}

LRESULT CALLBACK mainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return onCreate(window);
    case WM_DESTROY:
        return onDestroy(window);
    case WM_SIZE:
        return onSize(window, wParam, lParam);
    case WM_NOTIFY:
        return onNotify(window, lParam);
    case WM_CONTEXTMENU:
        return onContextMenu(window, wParam, lParam);
    case WM_COMMAND:
        return onCommand(window, message, wParam, lParam);
    case WM_DROPFILES:
        return onDropFiles(window, wParam);
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
