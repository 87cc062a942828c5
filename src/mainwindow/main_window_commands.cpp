#include "mainwindow/main_window.h"

#include "convert/convert_window.h"
#include "definition/output_options.h"
#include "mainwindow/music_list.h"
#include "windows/folder_window.h"

#include <commdlg.h>
#include <shellapi.h>

void MainWindow::openWithDialog(HWND window)
{
    char path[MAX_PATH] = {};
    OPENFILENAMEA dialog = {};
    // The record without the fields of later systems.
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = window;
    dialog.lpstrFilter = "ループ定義ファイル(*.mrl)\0*.mrl\0全て(*.*)\0*.*\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.lpstrTitle = "ファイルを開く";
    dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    if (GetOpenFileNameA(&dialog) && load(path))
        refresh(window);
}

void MainWindow::openDropped(HWND window, HDROP drop)
{
    if (DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
        char path[MAX_PATH] = {};
        DragQueryFileA(drop, 0, path, sizeof path);
        if (load(path))
            refresh(window);
    }
    DragFinish(drop);
}

void MainWindow::writeWaveFiles(HWND window)
{
    FolderWindow folders;
    if (!folders.show(window))
        return;
    Window* list = listView();
    if (!list)
        return;
    const std::vector<std::int32_t> rows = MusicList(*list).tickedRows();
    OutputOptions options;
    options.fadeSeconds = limitCount(fadeSeconds(window));
    options.loopCount = limitCount(loopCount(window));
    options.bgmFolder = folders.bgmFolder();
    options.outputFolder = folders.outputFolder();
    options.choices = choices_;
    runConversion(window, definition_, options, rows);
}
