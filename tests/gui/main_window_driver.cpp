#include "main_window_driver.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <numeric>
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
    SendMessageA(window, WM_CLOSE, 0, 0);
}

std::vector<COLORREF> pixels(HWND control)
{
    RECT area = {};
    GetClientRect(control, &area);
    HDC dc = GetDC(control);
    std::vector<COLORREF> colours;
    for (LONG i = 0; i < area.right * area.bottom; ++i)
        colours.push_back(GetPixel(dc, i % area.right, i / area.right));
    ReleaseDC(control, dc);
    return colours;
}

std::string sentText(HWND window, UINT message, WPARAM wParam)
{
    char text[1024] = {};
    SendMessageA(window, message, wParam, reinterpret_cast<LPARAM>(text));
    return text;
}

} // namespace

bool runMainWindow(MainWindow& mainWindow, const std::function<void(HWND)>& script)
{
    pendingScript = &script;
    SetTimer(nullptr, 0, 20, runScript);
    return mainWindow.run(GetModuleHandleA(nullptr));
}

void dropFiles(HWND window, const std::vector<std::string>& paths)
{
    std::string block(sizeof(DROPFILES), '\0');
    for (const std::string& path : paths)
        block += path + '\0';
    reinterpret_cast<DROPFILES*>(block.data())->pFiles = sizeof(DROPFILES);
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, block.size() + 1); // + 1: the closing NUL
    block.copy(static_cast<char*>(GlobalLock(memory)), block.size());
    GlobalUnlock(memory);
    SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
}

void sendCommand(HWND window, WORD id) { SendMessageA(window, WM_COMMAND, id, 0); }

std::string windowText(HWND window) { return sentText(window, WM_GETTEXT, 1024); }

std::string itemText(HWND listView, int row, int column)
{
    char text[1024] = {};
    ListView_GetItemText(listView, row, column, text, sizeof text);
    return text;
}

int rowCount(HWND listView) { return ListView_GetItemCount(listView); }

std::string statusText(HWND statusBar) { return sentText(statusBar, SB_GETTEXTA, 0); }

std::string shownAsRepainted(HWND window, HWND control)
{
    const std::vector<COLORREF> shown = pixels(control);
    RedrawWindow(window, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const std::vector<COLORREF> repainted = pixels(control);
    if (shown.empty() || shown.size() != repainted.size())
        return std::to_string(shown.size()) + " pixels shown, " + std::to_string(repainted.size()) + " repainted";
    if (std::all_of(shown.begin(), shown.end(), [&](COLORREF colour) { return colour == shown.front(); }))
        return "blank";
    const auto differing = std::inner_product(shown.begin(), shown.end(), repainted.begin(), std::size_t{0},
                                              std::plus<>(), std::not_equal_to<>());
    return differing == 0 ? "as repainted" : std::to_string(differing) + " pixels differ";
}
