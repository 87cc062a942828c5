#include "definition/figures.h"
#include "main_window_driver.h"
#include "mainwindow/main_window_ids.h"
#include "support/test_files.h"
#include "toolkit/controls.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int pieces = 300;
constexpr int widePiece = 40;

std::string section(int n, const char* file, int bits, unsigned waveSize, unsigned loopStart, unsigned loopSize)
{
    char text[512];
    std::snprintf(text, sizeof text,
                  "[music%04d]\r\nfile=%s\r\ntitle=曲%d\r\nfmt_bits=%d\r\nwave_file=a.bgm\r\nwave_size=%u\r\n"
                  "loop_start=%u\r\nloop_size=%u\r\n",
                  n, file, n, bits, waveSize, loopStart, loopSize);
    return text;
}

// Pieces of many lengths, among them each kind that can never be written and a 24-bit piece that
// fits a WAVE file at 2 loops but not at 999.
std::string largeAlbum()
{
    std::string text = "[album]\r\ntitle=大きな盤\r\n";
    for (int n = 0; n < pieces; ++n) {
        const unsigned loop = 88200u * (1 + n % 37);
        text += n == 10          ? section(n, "..\\up.wav", 16, 2 * loop, loop, loop)
                : n == 20        ? section(n, "past.wav", 16, loop, loop, loop)
                : n == 30        ? section(n, "wraps.wav", 16, 4294967295u, 4294500000u, loop)
                : n == widePiece ? section(n, "wide.wav", 24, 9000000, 0, 9000000)
                                 : section(n, "p.wav", 16, 2 * loop, loop / 2, loop);
    }
    return text;
}

// Every row's tick, time and size and the status bar, against recomputing all of them from the
// entries, the two numbers and the ticks the user set.
void expectRecomputed(HWND window, const MainWindow& mainWindow, const std::vector<bool>& ticks, std::uint32_t loops,
                      std::uint32_t fade)
{
    HWND list = GetDlgItem(window, musicListId);
    ASSERT_EQ(rowCount(list), pieces);
    std::vector<std::string> shown, expected;
    std::uint64_t bytes = 0, seconds = 0;
    for (int row = 0; row < pieces; ++row) {
        const PieceFigures f = pieceFigures(mainWindow.definition().entries()[static_cast<std::size_t>(row)], loops, fade);
        shown.push_back((isItemChecked(*mainWindow.listView(), row) ? "x " : "  ") + itemText(list, row, 1) + " " +
                        itemText(list, row, 2));
        expected.push_back((ticks[row] ? "x " : "  ") +
                           (f.writable ? formatTime(f.playSeconds) + " " + formatSize(f.fileSize) : "--:-- 出力不可"));
        if (ticks[row] && f.writable) {
            bytes += f.fileSize;
            seconds += f.playSeconds;
        }
    }
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(statusText(GetDlgItem(window, statusBarId)), totalsText(seconds, bytes));
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

} // namespace

TEST(LargeAlbum, FiguresAndTotalsEqualARecomputationAfterEveryAction)
{
    TempFolder folder;
    ASSERT_TRUE(writeFileBytes(folder.file("large.mrl"), largeAlbum()));
    MainWindow mainWindow;
    runMainWindow(mainWindow, [&](HWND window) {
        HWND list = GetDlgItem(window, musicListId);
        std::vector<bool> ticks(pieces, true);
        const auto tick = [&](int row, bool on) {
            setItemChecked(*mainWindow.listView(), row, on); // as a click on its check box does
            ticks[static_cast<std::size_t>(row)] = on;
            expectRecomputed(window, mainWindow, ticks, 2, 10);
        };
        const auto command = [&](WORD id) {
            sendCommand(window, id);
            for (std::size_t row = 0; row < ticks.size(); ++row)
                ticks[row] = id == tickAllCommand || (id == invertTicksCommand && !ticks[row]);
            expectRecomputed(window, mainWindow, ticks, 2, 10);
        };
        dropFiles(window, {folder.file("large.mrl")});
        expectRecomputed(window, mainWindow, ticks, 2, 10);
        tick(7, false);
        command(invertTicksCommand);
        command(tickAllCommand);
        command(untickAllCommand);
        tick(widePiece, true);
        command(invertTicksCommand);

        SetDlgItemTextA(window, loopCountFieldId, "999");
        expectRecomputed(window, mainWindow, ticks, 999, 10);
        EXPECT_EQ(itemText(list, widePiece, 1) + itemText(list, widePiece, 2), "--:--出力不可");
        SetDlgItemTextA(window, loopCountFieldId, "2");
        expectRecomputed(window, mainWindow, ticks, 2, 10);
        SetDlgItemTextA(window, fadeSecondsFieldId, "0");
        expectRecomputed(window, mainWindow, ticks, 2, 0);
    });
}

TEST(LargeAlbum, AlbumLabelShowsOnlyTheCurrentTitle)
{
    TempFolder folder;
    ASSERT_TRUE(writeFileBytes(folder.file("long.mrl"), "[album]\r\ntitle=見本アルバムバブル BGM集（受入試験用）\r\n"));
    ASSERT_TRUE(writeFileBytes(folder.file("short.mrl"), "[album]\r\ntitle=見本アルバム\r\n"));
    MainWindow mainWindow;
    runMainWindow(mainWindow, [&](HWND window) {
        HWND label = GetDlgItem(window, albumLabelId);
        dropFiles(window, {folder.file("long.mrl")});
        dropFiles(window, {folder.file("short.mrl")});
        UpdateWindow(window);
        const std::vector<COLORREF> shown = pixels(label);
        ASSERT_TRUE(!shown.empty() && shown.front() != CLR_INVALID);
        // Covering and uncovering the window paints all of it afresh.
        RedrawWindow(window, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        EXPECT_EQ(pixels(label), shown);
        EXPECT_EQ(windowText(label), "見本アルバム");
    });
}
