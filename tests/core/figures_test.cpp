#include "definition/figures.h"

#include <gtest/gtest.h>

TEST(Figures, FormatsSizesInGroupsOfThree)
{
    EXPECT_EQ(formatSize(0), "  0");
    EXPECT_EQ(formatSize(46), " 46");
    EXPECT_EQ(formatSize(1234), "  1,234");
    EXPECT_EQ(formatSize(1000), "  1,000");
    EXPECT_EQ(formatSize(22764046), " 22,764,046");
    EXPECT_EQ(formatSize(1234567890), "1,234,567,890");
    EXPECT_EQ(formatSize(4294967295u), "4,294,967,295");
    EXPECT_EQ(formatSize(12345678901ull), "12,345,678,901") << "totals above 4 GiB are shown, not wrapped";
}

TEST(Figures, FormatsTimesWithHoursOnlyWhenNeeded)
{
    EXPECT_EQ(formatTime(0), "0:00");
    EXPECT_EQ(formatTime(61), "1:01");
    EXPECT_EQ(formatTime(3599), "59:59");
    EXPECT_EQ(formatTime(3600), "1:00:00");
    EXPECT_EQ(formatTime(3725), "1:02:05");
    EXPECT_EQ(formatTime(360000), "100:00:00");
}

TEST(Figures, WorkedExampleRowAndTotals)
{
    MusicEntry entry;
    entry.loop_start = 1000000;
    entry.loop_size = 10000000;
    PieceFigures figures = pieceFigures(entry, 2, 10);
    EXPECT_EQ(figures.fileSize, 22764046u);
    EXPECT_EQ(figures.playSeconds, 129u);
    EXPECT_EQ(pieceTimeText(figures), "2:09");
    EXPECT_EQ(totalsText(figures.playSeconds, figures.fileSize), "合計時間 : 2:09 合計サイズ :  22,764,046");
    EXPECT_EQ(totalsText(0, 0), "合計時間 : 0:00 合計サイズ :   0");
}

TEST(Figures, UseTheProductOfAllThreeFormatValues)
{
    MusicEntry twelveBitMono;
    twelveBitMono.fmt_bits = 12;
    twelveBitMono.fmt_channels = 1;
    twelveBitMono.fmt_samples = 1000;
    EXPECT_EQ(figureBytesPerSecond(twelveBitMono), 1500u);
}

TEST(Figures, ShowAPlaceholderTimeWhenAFormatValueIsZero)
{
    MusicEntry entry;
    entry.fmt_samples = 0;
    entry.loop_start = 10;
    PieceFigures figures = pieceFigures(entry, 2, 10);
    EXPECT_FALSE(figures.timeKnown);
    EXPECT_EQ(figures.fileSize, 56u) << "the size is still defined";
    EXPECT_EQ(pieceTimeText(figures), "--:--");
}

TEST(Figures, SizesAboveFourGibibytesAreNotWrapped)
{
    MusicEntry entry;
    entry.loop_size = 3000000000u;
    EXPECT_EQ(pieceFigures(entry, 2, 0).fileSize, 6000000046ull);
}
