#include "definition/figures.h"
#include "definition/writable_rule.h"

#include <gtest/gtest.h>

namespace {

// 16-bit stereo at 44,100 frames per second: a 1 s introduction and a 5 s loop.
MusicEntry piece()
{
    MusicEntry entry;
    entry.file = "piece.wav";
    entry.wave_size = 1058400;
    entry.loop_start = 176400;
    entry.loop_size = 882000;
    return entry;
}

} // namespace

TEST(WritableRule, PiecesARunWouldRefuseShowNoFigures)
{
    struct Case {
        const char* what;
        void (*change)(MusicEntry&);
        std::uint32_t loops;
        PieceRefusal refusal;
        const char* time;
        const char* size;
    };
    const auto wide = [](MusicEntry& e) {
        e.fmt_bits = 24;
        e.fmt_samples = 48000;
        e.loop_start = 288000;
        e.loop_size = 8640000;
        e.wave_size = 8928000;
    };
    const Case cases[] = {
        {"plain piece", [](MusicEntry&) {}, 2, PieceRefusal::None, "0:16", "  2,822,446"},
        {"name leaves the folder", [](MusicEntry& e) { e.file = "..\\up.wav"; }, 2, PieceRefusal::NameLeavesFolder,
         "--:--", "出力不可"},
        {"loop past the data", [](MusicEntry& e) { e.wave_size -= 1; }, 2, PieceRefusal::LoopPastData, "--:--",
         "出力不可"},
        {"loop end wraps around", [](MusicEntry& e) { e.loop_start = 4294500000u, e.wave_size = 4294967295u; }, 0,
         PieceRefusal::LoopPastData, "--:--", "出力不可"},
        {"24-bit piece at 2 loops", wide, 2, PieceRefusal::None, "1:11", " 20,448,046"},
        {"24-bit piece at 999 loops", wide, 999, PieceRefusal::TooLarge, "--:--", "出力不可"},
    };
    for (const Case& c : cases) {
        MusicEntry entry = piece();
        c.change(entry);
        const PieceFigures figures = pieceFigures(entry, c.loops, 10);
        EXPECT_EQ(pieceRefusal(entry, c.loops, 10), c.refusal) << c.what;
        EXPECT_EQ(figures.writable, c.refusal == PieceRefusal::None) << c.what;
        EXPECT_EQ(pieceTimeText(figures), c.time) << c.what;
        EXPECT_EQ(pieceSizeText(figures), c.size) << c.what;
    }
}

TEST(WritableRule, TotalsLeaveOutPiecesThatCannotBeWritten)
{
    MusicEntry refused = piece();
    refused.wave_size = 0;
    FigureTotals totals;
    totals.add(pieceFigures(piece(), 2, 10));
    totals.add(pieceFigures(refused, 2, 10));
    totals.add(pieceFigures(piece(), 2, 10));
    EXPECT_EQ(totalsText(totals.seconds, totals.bytes), "合計時間 : 0:32 合計サイズ :   5,644,892");
}
