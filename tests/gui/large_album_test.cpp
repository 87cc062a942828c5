// A large album through every action that changes ticks or numbers: the rows and the totals must
// equal a plain recomputation each time, however the window batches its work.
#include "definition/figures.h"
#include "main_window_driver.h"
#include "support/test_files.h"
#include "toolkit/controls.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

constexpr int pieces = 300;
constexpr int widePiece = 40; // 24-bit: fits a WAVE file at 2 loops, not at 999

// Pieces of many lengths, among them each kind that can never be written.
std::string largeAlbum()
{
    std::string text = "[album]\r\ntitle=大きな盤\r\n";
    for (int n = 0; n < pieces; ++n) {
        const unsigned loop = 88200u * (1 + n % 37);
        const char* file = n == 10 ? "..\\up.wav" : "p.wav";
        unsigned size = n == 20 ? loop : 2 * loop, start = loop / 2, bits = 16;
        if (n == 30)
            size = 4294967295u, start = 4294500000u;
        if (n == widePiece)
            size = 9000000, start = 0, bits = 24;
        char section[256];
        std::snprintf(section, sizeof section, "[music%04d]\r\nfile=%s\r\nfmt_bits=%u\r\nwave_size=%u\r\nloop_start=%u\r\n"
                      "loop_size=%u\r\n", n, file, bits, size, start, n == widePiece ? size : loop);
        text += section;
    }
    return text;
}

void expectRecomputed(HWND window, const MainWindow& mainWindow, const std::vector<bool>& ticks, std::uint32_t loops,
                      std::uint32_t fade)
{
    HWND list = GetDlgItem(window, musicListId);
    std::vector<std::string> shown, expected;
    FigureTotals totals;
    for (int row = 0; row < rowCount(list); ++row) {
        const PieceFigures f =
            pieceFigures(mainWindow.definition().entries().at(static_cast<std::size_t>(row)), loops, FadeRequest{fade});
        shown.push_back((isItemChecked(*mainWindow.listView(), row) ? "x " : "  ") + itemText(list, row, 1) + " " +
                        itemText(list, row, 2));
        expected.push_back((ticks[row] ? "x " : "  ") + pieceTimeText(f) + " " + pieceSizeText(f));
        if (ticks[row])
            totals.add(f);
    }
    EXPECT_EQ(shown, expected) << loops << " " << fade;
    EXPECT_EQ(statusText(GetDlgItem(window, statusBarId)), totalsText(totals.seconds, totals.bytes));
}

} // namespace

TEST(LargeAlbum, FiguresEqualARecomputationAndTheLabelOnlyTheCurrentTitle)
{
    TempFolder folder;
    ASSERT_TRUE(writeFileBytes(folder.file("long.mrl"), "[album]\r\ntitle=星降る丘のワルツ オリジナル・サウンドトラック\r\n"));
    ASSERT_TRUE(writeFileBytes(folder.file("large.mrl"), largeAlbum()));
    MainWindow mainWindow;
    EXPECT_TRUE(runMainWindow(mainWindow, [&](HWND window) {
        std::vector<bool> ticks(pieces, true);
        dropFiles(window, {folder.file("long.mrl")});
        dropFiles(window, {folder.file("large.mrl")});
        ASSERT_EQ(rowCount(GetDlgItem(window, musicListId)), pieces);
        expectRecomputed(window, mainWindow, ticks, 2, 10);
        // A shorter title leaves none of the longer one: the label looks as after a full repaint.
        const HWND label = GetDlgItem(window, albumLabelId);
        UpdateWindow(window);
        EXPECT_EQ(shownAsRepainted(window, label), "as repainted");

        for (const auto& [row, id] : {std::pair{7, 0}, {-1, invertTicksCommand}, {-1, tickAllCommand},
                                      {-1, untickAllCommand}, {widePiece, 0}, {-1, invertTicksCommand}}) {
            if (row >= 0)
                setItemChecked(*mainWindow.listView(), row, !ticks[row]); // as a click on its check box does
            else
                sendCommand(window, static_cast<WORD>(id));
            for (int r = 0; r < pieces; ++r)
                ticks[r] = row >= 0 ? ticks[r] != (r == row) : id == tickAllCommand || (id == invertTicksCommand && !ticks[r]);
            expectRecomputed(window, mainWindow, ticks, 2, 10);
        }
        for (const auto& [field, text, loops, fade] : {std::tuple{loopCountFieldId, "999", 999, 10},
                                                        {loopCountFieldId, "2", 2, 10}, {fadeSecondsFieldId, "0", 2, 0}}) {
            SetDlgItemTextA(window, field, text);
            expectRecomputed(window, mainWindow, ticks, loops, fade);
        }
    }));
}
