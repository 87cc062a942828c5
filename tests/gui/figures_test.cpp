#include "definition/figures.h"
#include "main_window_driver.h"
#include "mainwindow/main_window_ids.h"
#include "mainwindow/music_list.h"
#include "support/test_files.h"
#include "toolkit/controls.h"

#include <gtest/gtest.h>

namespace {

struct Shown {
    std::string time;
    std::string size;
    std::string totals;
};

Shown shownFor(HWND window, int row)
{
    HWND list = GetDlgItem(window, musicListId);
    return {itemText(list, row, 1), itemText(list, row, 2), statusText(GetDlgItem(window, statusBarId))};
}

void setField(HWND window, int id, const char* text)
{
    SetDlgItemTextA(window, id, text);
}

} // namespace

TEST(Figures, ShowWorkedExampleInRowAndStatusBar)
{
    MainWindow mainWindow;
    runMainWindow(mainWindow, [&](HWND window) {
        EXPECT_EQ(statusText(GetDlgItem(window, statusBarId)), "");
        dropFiles(window, {fixturePath("main_window_example.mrl")});
        const Shown shown = shownFor(window, 0);
        EXPECT_EQ(shown.time, "2:09");
        EXPECT_EQ(shown.size, " 22,764,046");
        EXPECT_EQ(shown.totals, "合計時間 : 2:09 合計サイズ :  22,764,046");
    });
}

TEST(Figures, FormatWithoutBytesPerSecondShowsPlaceholderTimeAndItsSize)
{
    MainWindow mainWindow;
    runMainWindow(mainWindow, [&](HWND window) {
        dropFiles(window, {fixturePath("main_window_three.mrl")});
        const Shown silent = shownFor(window, 2);
        EXPECT_EQ(silent.time, pieceTimeText(PieceFigures{}));
        EXPECT_FALSE(silent.time.empty());
        EXPECT_EQ(silent.size, "  1,846");
        EXPECT_EQ(shownFor(window, 1).time, "0:22");
        EXPECT_EQ(shownFor(window, 1).size, "  1,000,046");
        EXPECT_EQ(silent.totals, "合計時間 : 2:31 合計サイズ :  23,765,938");
    });
}

TEST(Figures, UntickingChangesOnlyTheTotals)
{
    MainWindow mainWindow;
    runMainWindow(mainWindow, [&](HWND window) {
        dropFiles(window, {fixturePath("main_window_three.mrl")});
        setItemChecked(*mainWindow.listView(), 0, false);
        const Shown shown = shownFor(window, 0);
        EXPECT_EQ(shown.time, "2:09");
        EXPECT_EQ(shown.size, " 22,764,046");
        EXPECT_EQ(shown.totals, "合計時間 : 0:22 合計サイズ :   1,001,892");
        sendCommand(window, untickAllCommand);
        EXPECT_EQ(shownFor(window, 0).totals, "合計時間 : 0:00 合計サイズ :   0");
    });
}

TEST(Figures, FieldsCountAbove999As999AndEmptyAsZero)
{
    MainWindow mainWindow;
    runMainWindow(mainWindow, [&](HWND window) {
        dropFiles(window, {fixturePath("main_window_example.mrl")});

        setField(window, loopCountFieldId, "1500");
        EXPECT_EQ(MainWindow::loopCount(window), 1500);
        // 999 loops of 10,000,000 bytes: the size does not wrap around at 4 GiB.
        Shown shown = shownFor(window, 0);
        EXPECT_EQ(shown.size, "9,992,764,046");
        EXPECT_EQ(shown.time, "15:44:08");
        EXPECT_EQ(shown.totals, "合計時間 : 15:44:08 合計サイズ : 9,992,764,046");

        setField(window, loopCountFieldId, "-5");
        EXPECT_EQ(shownFor(window, 0).size, "9,992,764,046");

        setField(window, loopCountFieldId, "");
        EXPECT_EQ(MainWindow::loopCount(window), 0);
        shown = shownFor(window, 0);
        EXPECT_EQ(shown.size, "  2,764,046");
        EXPECT_EQ(shown.time, "0:15");

        setField(window, loopCountFieldId, "2");
        setField(window, fadeSecondsFieldId, "0");
        shown = shownFor(window, 0);
        EXPECT_EQ(shown.size, " 21,000,046");
        EXPECT_EQ(shown.time, "1:59");
    });
}

TEST(Figures, LosingFocusInAFieldUpdatesTheFigures)
{
    MainWindow mainWindow;
    runMainWindow(mainWindow, [&](HWND window) {
        dropFiles(window, {fixturePath("main_window_example.mrl")});
        setItemText(*mainWindow.listView(), "", 0, 2);
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(loopCountFieldId, EN_KILLFOCUS),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, loopCountFieldId)));
        EXPECT_EQ(shownFor(window, 0).size, " 22,764,046");
    });
}
