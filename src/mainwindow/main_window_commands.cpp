#include "mainwindow/main_window_commands.h"

#include "definition/output_options.h"
#include "mainwindow/music_list.h"
#include "platform/win32/wide_text.h"
#include "windows/folder_window.h"
#include "windows/progress_window.h"
#include "writers/writer_for_format.h"

#include <commdlg.h>
#include <shellapi.h>

namespace {

// Room for the longest path the system can name, not just MAX_PATH.
constexpr DWORD longestPath = 32768;

// A path that UTF-8 cannot carry (half of a surrogate pair) names no file exactly: it opens nothing.
void openPath(MainWindow& object, HWND window, const std::wstring& path)
{
    const std::string utf8 = utf8FromWide(path);
    if (!utf8.empty() && object.load(utf8))
        object.refresh(window);
}

} // namespace

void openWithDialog(MainWindow& object, HWND window)
{
    // The filter's strings are separated by NULs, so it is converted with its whole length.
    static const char filter[] = "ループ定義ファイル(*.mrl)\0*.mrl\0全て(*.*)\0*.*\0";
    const std::wstring wideFilter = wideFromShiftJis(std::string(filter, sizeof filter));
    const std::wstring title = wideFromShiftJis("ファイルを開く");
    std::wstring path(longestPath, L'\0');
    OPENFILENAMEW dialog = {};
    // The record without the fields of later systems.
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    dialog.hwndOwner = window;
    dialog.lpstrFilter = wideFilter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = longestPath;
    dialog.lpstrTitle = title.c_str();
    dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    if (GetOpenFileNameW(&dialog))
        openPath(object, window, path.c_str());
}

void openDropped(MainWindow& object, HWND window, HDROP drop)
{
    if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
        std::wstring path(DragQueryFileW(drop, 0, nullptr, 0) + 1, L'\0');
        path.resize(DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size())));
        openPath(object, window, path);
    }
    DragFinish(drop);
}

void writeWaveFiles(const MainWindow& object, HWND window)
{
    FolderWindow folders;
    if (!folders.show(window))
        return;
    const std::vector<std::int32_t> rows = MusicList(object.listView()).tickedRows();
    OutputOptions options = object.outputOptions(window);
    options.bgmFolder = folders.bgmFolder();
    options.outputFolder = folders.outputFolder();
    const std::unique_ptr<PieceWriter> writer = makePieceWriter(options);
    runConversion(window, object.definition(), options, rows, *writer);
}
