#include "main_window_driver.h"

#include "platform/win32/wide_text.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <numeric>
#include <utility>

namespace {

const std::function<void(HWND)>* pendingScript = nullptr;

void CALLBACK runScript(HWND, UINT, UINT_PTR timer, DWORD)
{
    const HWND window = FindWindowW(L"morlo_main", nullptr);
    if (!window || !IsWindowVisible(window) || !pendingScript)
        return;
    KillTimer(nullptr, timer);
    (*std::exchange(pendingScript, nullptr))(window);
    SendMessageW(window, WM_CLOSE, 0, 0);
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
    wchar_t text[1024] = {};
    SendMessageW(window, message, wParam, reinterpret_cast<LPARAM>(text));
    return utf8FromWide(text);
}

} // namespace

bool runMainWindow(MainWindow& mainWindow, const std::function<void(HWND)>& script)
{
    pendingScript = &script;
    SetTimer(nullptr, 0, 20, runScript);
    return mainWindow.run(GetModuleHandleW(nullptr));
}

void dropFiles(HWND window, const std::vector<std::string>& paths)
{
    // The names follow the record, each ended by a NUL, the list by one more (GMEM_ZEROINIT's).
    std::wstring names;
    for (const std::string& path : paths)
        names += wideFromUtf8(path) + L'\0';
    const std::size_t namesBytes = (names.size() + 1) * sizeof(wchar_t);
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + namesBytes);
    auto* record = static_cast<DROPFILES*>(GlobalLock(memory));
    record->pFiles = sizeof(DROPFILES);
    record->fWide = TRUE;
    names.copy(reinterpret_cast<wchar_t*>(record + 1), names.size());
    GlobalUnlock(memory);
    SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
}

void sendCommand(HWND window, WORD id) { SendMessageW(window, WM_COMMAND, id, 0); }

std::string windowText(HWND window) { return sentText(window, WM_GETTEXT, 1024); }

std::string itemText(HWND listView, int row, int column)
{
    wchar_t text[1024] = {};
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 1024;
    SendMessageW(listView, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return utf8FromWide(text);
}

std::string columnTitles(HWND listView)
{
    std::string titles;
    wchar_t text[256] = {};
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT;
    column.pszText = text;
    column.cchTextMax = 256;
    for (int index = 0; SendMessageW(listView, LVM_GETCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
         ++index)
        titles += utf8FromWide(text) + "|";
    return titles;
}

int rowCount(HWND listView) { return ListView_GetItemCount(listView); }

std::string statusText(HWND statusBar) { return sentText(statusBar, SB_GETTEXTW, 0); }

std::string missingGlyphs(HWND control, const std::string& text)
{
    const std::wstring wide = wideFromUtf8(text);
    std::vector<WORD> glyphs(wide.size());
    const HDC dc = GetDC(control);
    const HGDIOBJ font = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    GetGlyphIndicesW(dc, wide.c_str(), static_cast<int>(wide.size()), glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
    SelectObject(dc, font);
    ReleaseDC(control, dc);
    std::wstring missing;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        if (glyphs[i] == 0xFFFF)
            missing += wide[i];
    }
    return utf8FromWide(missing);
}

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
