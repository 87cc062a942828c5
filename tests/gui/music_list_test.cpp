#include "main_window_driver.h"
#include "mainwindow/main_window_ids.h"
#include "mainwindow/music_list.h"
#include "support/test_files.h"
#include "toolkit/controls.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

using Rows = std::vector<std::int32_t>;

Rows tickedRows(const MainWindow& mainWindow)
{
    return MusicList(*mainWindow.listView()).tickedRows();
}

std::string menuText(HMENU menu, int position, UINT* id)
{
    char text[256] = {};
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_TYPE;
    item.dwTypeData = text;
    item.cch = sizeof text;
    GetMenuItemInfoA(menu, position, TRUE, &item);
    *id = item.wID;
    return text;
}

bool menuWasOpen = false;
bool menuLookDone = false;

// Records whether a popup menu is showing and closes it.
void CALLBACK closeOpenMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    menuLookDone = true;
    HWND menu = FindWindowA("#32768", nullptr);
    menuWasOpen = menu && IsWindowVisible(menu);
    EndMenu();
}

} // namespace

TEST(MusicList, HasFiveColumnsWithTitlesAlignmentsAndWidths)
{
    MainWindow mainWindow;
    runMainWindow(mainWindow, [&](HWND window) {
        HWND list = GetDlgItem(window, musicListId);
        struct Expected {
            const char* title;
            int alignment;
            int width;
        };
        const Expected columns[] = {{"タイトル", LVCFMT_LEFT, 224},
                                    {"時間", LVCFMT_RIGHT, 56},
                                    {"出力サイズ", LVCFMT_RIGHT, 80},
                                    {"出力ファイル名", LVCFMT_LEFT, 128},
                                    {"入力ファイル名", LVCFMT_LEFT, 128}};
        EXPECT_EQ(columnCount(*mainWindow.listView()), 5);
        int index = 0;
        for (const Expected& expected : columns) {
            char title[256] = {};
            LVCOLUMNA column = {};
            column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
            column.pszText = title;
            column.cchTextMax = sizeof title;
            ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, index++, reinterpret_cast<LPARAM>(&column)));
            EXPECT_STREQ(title, expected.title);
            EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, expected.alignment);
            EXPECT_EQ(column.cx, expected.width);
        }
    });
}

TEST(MusicList, FillsOneTickedRowPerEntryInOrder)
{
    MainWindow mainWindow;
    runMainWindow(mainWindow, [&](HWND window) {
        dropFiles(window, {fixturePath("main_window_three.mrl")});
        HWND list = GetDlgItem(window, musicListId);
        ASSERT_EQ(rowCount(list), 3);
        EXPECT_EQ(itemText(list, 0, 0), "一曲目");
        EXPECT_EQ(itemText(list, 1, 0), "二曲目");
        EXPECT_EQ(itemText(list, 2, 0), "形式なし");
        EXPECT_EQ(itemText(list, 1, 3), "second.wav");
        EXPECT_EQ(itemText(list, 1, 4), "three.bgm");
        EXPECT_EQ(tickedRows(mainWindow), (Rows{0, 1, 2}));

        // A shorter definition replaces every row.
        dropFiles(window, {fixturePath("main_window_other.mrl")});
        ASSERT_EQ(rowCount(list), 1);
        EXPECT_EQ(itemText(list, 0, 0), "別の曲");
        EXPECT_EQ(tickedRows(mainWindow), (Rows{0}));
    });
}

TEST(MusicList, TickCommandsUntickInvertAndTickAll)
{
    MainWindow mainWindow;
    runMainWindow(mainWindow, [&](HWND window) {
        dropFiles(window, {fixturePath("main_window_three.mrl")});
        sendCommand(window, invertTicksCommand);
        EXPECT_EQ(tickedRows(mainWindow), Rows{});
        sendCommand(window, invertTicksCommand);
        EXPECT_EQ(tickedRows(mainWindow), (Rows{0, 1, 2}));

        sendCommand(window, untickAllCommand);
        EXPECT_EQ(tickedRows(mainWindow), Rows{});
        setItemChecked(*mainWindow.listView(), 1, true);
        sendCommand(window, invertTicksCommand);
        EXPECT_EQ(tickedRows(mainWindow), (Rows{0, 2}));
        sendCommand(window, tickAllCommand);
        EXPECT_EQ(tickedRows(mainWindow), (Rows{0, 1, 2}));
    });
}

TEST(MusicList, DefinitionWithoutPiecesGivesNoRows)
{
    MainWindow mainWindow;
    runMainWindow(mainWindow, [&](HWND window) {
        dropFiles(window, {fixturePath("main_window_three.mrl")});
        dropFiles(window, {fixturePath("main_window_no_pieces.mrl")});
        EXPECT_EQ(windowText(window), "morlo - 空の盤");
        EXPECT_EQ(rowCount(GetDlgItem(window, musicListId)), 0);
        EXPECT_EQ(tickedRows(mainWindow), Rows{});
        EXPECT_EQ(statusText(GetDlgItem(window, statusBarId)), "合計時間 : 0:00 合計サイズ :   0");
    });
}

TEST(MusicList, ContextMenuOffersTheThreeTickCommands)
{
    HMENU menu = createMusicListMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 3);
    UINT id = 0;
    EXPECT_EQ(menuText(menu, 0, &id), "全て選択(&A)");
    EXPECT_EQ(id, tickAllCommand);
    EXPECT_EQ(menuText(menu, 1, &id), "全て解除(&U)");
    EXPECT_EQ(id, untickAllCommand);
    EXPECT_EQ(menuText(menu, 2, &id), "選択反転(&R)");
    EXPECT_EQ(id, invertTicksCommand);
    DestroyMenu(menu);
}

TEST(MusicList, ContextMenuOpensOverTheListOnly)
{
    MainWindow mainWindow;
    runMainWindow(mainWindow, [&](HWND window) {
        SetForegroundWindow(window);
        menuLookDone = false;
        SetTimer(nullptr, 0, 100, closeOpenMenu);
        SendMessageA(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(50, 50));
        MSG message;
        while (!menuLookDone) {
            if (PeekMessageA(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE))
                DispatchMessageA(&message);
            Sleep(1);
        }
        EXPECT_FALSE(menuWasOpen);

        SetTimer(nullptr, 0, 100, closeOpenMenu);
        SendMessageA(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(mainWindow.listView()->handle()),
                     MAKELPARAM(50, 50));
        EXPECT_TRUE(menuWasOpen);
    });
}
