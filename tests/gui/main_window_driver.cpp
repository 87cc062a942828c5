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

// The text call leaves in a zeroed buffer of 1,024 bytes.
template <typename Call> std::string textOf(Call call)
{
    char text[1024] = {};
    call(text);
    return text;
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
    std::string block(sizeof(DROPFILES), '\0');
    for (const std::string& path : paths)
        block += path + '\0';
    reinterpret_cast<DROPFILES*>(block.data())->pFiles = sizeof(DROPFILES);
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, block.size() + 1);
    std::memcpy(GlobalLock(memory), block.c_str(), block.size() + 1);
    GlobalUnlock(memory);
    SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
}

void sendCommand(HWND window, WORD id) { SendMessageA(window, WM_COMMAND, id, 0); }

std::string windowText(HWND window) { return textOf([&](char* text) { GetWindowTextA(window, text, 1024); }); }

std::string itemText(HWND listView, int row, int column)
{
    return textOf([&](char* text) { ListView_GetItemText(listView, row, column, text, 1024); });
}

int rowCount(HWND listView) { return ListView_GetItemCount(listView); }

std::string statusText(HWND statusBar)
{
    return textOf([&](char* text) { SendMessageA(statusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text)); });
}

RECT childRect(HWND child)
{
    RECT rect = {};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
