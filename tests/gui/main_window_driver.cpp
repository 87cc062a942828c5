#include "main_window_driver.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cstring>

namespace {

const std::function<void(HWND)>* pendingScript = nullptr;

void CALLBACK runScript(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND window = FindWindowA("morlo_main", nullptr);
    if (!window || !IsWindowVisible(window) || !pendingScript)
        return;
    KillTimer(nullptr, timer);
    const std::function<void(HWND)>* script = pendingScript;
    pendingScript = nullptr;
    (*script)(window);
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
    std::size_t names = 1;
    for (const std::string& path : paths)
        names += path.size() + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names);
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = FALSE;
    char* name = reinterpret_cast<char*>(header + 1);
    for (const std::string& path : paths) {
        std::memcpy(name, path.c_str(), path.size() + 1);
        name += path.size() + 1;
    }
    GlobalUnlock(block);
    SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
}

void sendCommand(HWND window, WORD id)
{
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

std::string windowText(HWND window)
{
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string itemText(HWND listView, int row, int column)
{
    char text[1024] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(listView, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

int rowCount(HWND listView)
{
    return static_cast<int>(SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0));
}

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
