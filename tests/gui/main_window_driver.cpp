#include "main_window_driver.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cstring>
#include <utility>

namespace {

const std::function<void(HWND)>* pendingScript = nullptr;

void CALLBACK runScript(HWND, UINT, UINT_PTR timer, DWORD)
{
    const HWND window = FindWindowA("morlo_main", nullptr);
    if (!window || !IsWindowVisible(window) || !pendingScript)
        return;
    KillTimer(nullptr, timer);
    (*std::exchange(pendingScript, nullptr))(window);
    if (IsWindow(window))
        SendMessageA(window, WM_CLOSE, 0, 0);
}

} // namespace

bool runMainWindow(MainWindow& mainWindow, const std::function<void(HWND)>& script)
{
    pendingScript = &script;
    SetTimer(nullptr, 0, 20, runScript);
    const bool result = mainWindow.run(GetModuleHandleA(nullptr));
    pendingScript = nullptr;
    return result;
}

void dropFiles(HWND window, const std::vector<std::string>& paths)
{
    std::string names;
    for (const std::string& path : paths)
        names += path + '\0';
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size() + 1);
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    std::memcpy(header + 1, names.data(), names.size());
    GlobalUnlock(block);
    SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
}

void sendCommand(HWND window, WORD id) { SendMessageA(window, WM_COMMAND, id, 0); }

std::string windowText(HWND window)
{
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string itemText(HWND listView, int row, int column)
{
    char text[1024] = {};
    ListView_GetItemText(listView, row, column, text, sizeof text);
    return text;
}

int rowCount(HWND listView) { return ListView_GetItemCount(listView); }

std::string statusText(HWND statusBar)
{
    char text[1024] = {};
    SendMessageA(statusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    return text;
}

RECT childRect(HWND child)
{
    RECT rect = {};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
