#include "main_window_driver.h"
#include "mainwindow/main_window_ids.h"
#include "mainwindow/music_list.h"
#include "support/test_files.h"
#include "toolkit/controls.h"

#include <commdlg.h>
#include <gtest/gtest.h>

namespace {

struct Seen {
    std::string title;
    std::string album;
    std::vector<std::string> cells;
    std::string totals;
    std::vector<std::int32_t> ticked;

    bool operator==(const Seen& other) const
    {
        return title == other.title && album == other.album && cells == other.cells && totals == other.totals &&
               ticked == other.ticked;
    }
};

Seen seen(HWND window, const MainWindow& mainWindow)
{
    HWND list = GetDlgItem(window, musicListId);
    Seen result{windowText(window), windowText(GetDlgItem(window, albumLabelId)), {},
                statusText(GetDlgItem(window, statusBarId)), MusicList(*mainWindow.listView()).tickedRows()};
    for (int row = 0; row < rowCount(list); ++row) {
        for (int column = 0; column < 5; ++column)
            result.cells.push_back(itemText(list, row, column));
    }
    return result;
}

std::string dialogPath;

// Types the path into the file-open dialog and confirms it.
void CALLBACK answerOpenDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = FindWindowA("#32770", "ファイルを開く");
    if (!dialog)
        return;
    KillTimer(nullptr, timer);
    SendMessageA(dialog, CDM_SETCONTROLTEXT, 0x47c, reinterpret_cast<LPARAM>(dialogPath.c_str()));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

} // namespace

TEST(OpeningFiles, DropLoadsOnlyTheFirstFile)
{
    MainWindow mainWindow;
    runMainWindow(mainWindow, [&](HWND window) {
        dropFiles(window, {fixturePath("main_window_example.mrl"), fixturePath("main_window_other.mrl")});
        EXPECT_EQ(windowText(window), "morlo - 例のアルバム");
        EXPECT_EQ(windowText(GetDlgItem(window, albumLabelId)), "例のアルバム");
        HWND list = GetDlgItem(window, musicListId);
        ASSERT_EQ(rowCount(list), 1);
        EXPECT_EQ(itemText(list, 0, 0), "例の曲");
        EXPECT_EQ(itemText(list, 0, 3), "example.wav");
        EXPECT_EQ(itemText(list, 0, 4), "example.bgm");
    });
}

TEST(OpeningFiles, RefusedFileChangesNothingAndNextFileOpens)
{
    MainWindow mainWindow;
    runMainWindow(mainWindow, [&](HWND window) {
        dropFiles(window, {fixturePath("main_window_three.mrl")});
        setItemChecked(*mainWindow.listView(), 1, false);
        SetDlgItemTextA(window, loopCountFieldId, "3");
        const Seen before = seen(window, mainWindow);

        dropFiles(window, {fixturePath("main_window_refused.mrl")});
        dropFiles(window, {fixturePath("main_window_missing.mrl")});
        EXPECT_TRUE(seen(window, mainWindow) == before);
        ASSERT_EQ(mainWindow.definition().entries().size(), 3u);
        EXPECT_EQ(mainWindow.definition().albumTitle(), "三曲集");

        // The figures still read every row's entry after a refused file.
        SetDlgItemTextA(window, loopCountFieldId, "2");
        EXPECT_EQ(itemText(GetDlgItem(window, musicListId), 2, 2), "  1,846");

        dropFiles(window, {fixturePath("main_window_other.mrl")});
        EXPECT_EQ(windowText(window), "morlo - 別の盤");
    });
}

TEST(OpeningFiles, DropWithoutFilesChangesNothing)
{
    MainWindow mainWindow;
    runMainWindow(mainWindow, [&](HWND window) {
        dropFiles(window, {});
        EXPECT_EQ(windowText(window), "morlo");
        EXPECT_EQ(rowCount(GetDlgItem(window, musicListId)), 0);
    });
}

TEST(OpeningFiles, OpenDialogLoadsTheChosenFile)
{
    MainWindow mainWindow;
    runMainWindow(mainWindow, [&](HWND window) {
        dialogPath = fixturePath("main_window_example.mrl");
        SetTimer(nullptr, 0, 50, answerOpenDialog);
        sendCommand(window, openCommand);
        EXPECT_EQ(windowText(window), "morlo - 例のアルバム");
        EXPECT_EQ(rowCount(GetDlgItem(window, musicListId)), 1);
    });
}
