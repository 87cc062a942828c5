#include "definition/output_rule.h"

#include <gtest/gtest.h>

namespace {

MusicEntry stereo16(std::uint32_t loopStart, std::uint32_t loopSize)
{
    MusicEntry entry;
    entry.file = "a.wav";
    entry.loop_start = loopStart;
    entry.loop_size = loopSize;
    entry.wave_size = loopStart + loopSize;
    return entry;
}

} // namespace

TEST(OutputRule, WorkedExampleOfSixteenBitStereo)
{
    MusicEntry entry = stereo16(1000000, 5000000);
    EXPECT_EQ(blockAlign(entry), 4);
    EXPECT_EQ(bytesPerSecond(entry), 176400u);
    EXPECT_EQ(fadeLength(entry, 10), 1764000u);
    EXPECT_EQ(dataLength(entry, 2, 10), 12764000u);
    EXPECT_EQ(fileSize(entry, 2, 10), 12764046u);
    EXPECT_EQ(playSeconds(entry, 2, 10), 72u);
    EXPECT_EQ(fadeLength(entry, 40), 5000000u) << "the fade is never longer than one loop";
}

TEST(OutputRule, EightBitMonoHasOneBytePerFrame)
{
    MusicEntry entry = stereo16(0, 100);
    entry.fmt_bits = 8;
    entry.fmt_channels = 1;
    entry.fmt_samples = 22050;
    EXPECT_EQ(blockAlign(entry), 1);
    EXPECT_EQ(bytesPerSecond(entry), 22050u);
}

TEST(OutputRule, LoopCountAndFadeOfZeroAreNotErrors)
{
    MusicEntry entry = stereo16(1000, 4000);
    EXPECT_EQ(dataLength(entry, 0, 0), 1000u) << "the introduction alone";
    EXPECT_EQ(dataLength(entry, 0, 10), 5000u) << "introduction and a fade of at most one loop";
    EXPECT_EQ(dataLength(entry, 3, 0), 13000u);
    MusicEntry noLoop = stereo16(1000, 0);
    EXPECT_EQ(fadeLength(noLoop, 10), 0u);
    EXPECT_EQ(dataLength(noLoop, 999, 999), 1000u);
}

TEST(OutputRule, ZeroBytesPerSecondGivesNoFadeAndNoTime)
{
    MusicEntry entry = stereo16(10, 20);
    entry.fmt_channels = 0;
    EXPECT_EQ(bytesPerSecond(entry), 0u);
    EXPECT_EQ(fadeLength(entry, 10), 0u);
    EXPECT_EQ(playSeconds(entry, 2, 10), 0u);
}

TEST(OutputRule, LongFadeOfAWideFormatDoesNotWrapAround)
{
    MusicEntry entry = stereo16(0, 4000000000u);
    entry.fmt_channels = 8;
    entry.fmt_bits = 32;
    entry.fmt_samples = 192000; // 6,144,000 bytes a second; 999 seconds pass 2^32
    EXPECT_EQ(fadeLength(entry, 999), 4000000000u);
}

TEST(OutputRule, ChecksThatTheLoopLiesInTheData)
{
    MusicEntry entry = stereo16(100, 300);
    EXPECT_TRUE(loopLiesInData(entry));
    entry.wave_size = 399;
    EXPECT_FALSE(loopLiesInData(entry));
    entry.loop_start = 0xFFFFFFFF;
    entry.loop_size = 2;
    entry.wave_size = 0xFFFFFFFF;
    EXPECT_FALSE(loopLiesInData(entry)) << "the sum must not wrap around to a small number";
}

TEST(OutputRule, ChecksThatTheSizesFitAWaveHeader)
{
    MusicEntry entry = stereo16(0, 2000000000u);
    EXPECT_TRUE(fitsWaveHeader(entry, 1, 0));
    EXPECT_TRUE(fitsWaveHeader(entry, 2, 0)) << "4,000,000,046 bytes still fit";
    EXPECT_FALSE(fitsWaveHeader(entry, 3, 0));
    MusicEntry edge = stereo16(0xFFFFFFFF - 46, 0);
    EXPECT_TRUE(fitsWaveHeader(edge, 2, 10));
    edge.loop_start += 1;
    EXPECT_FALSE(fitsWaveHeader(edge, 2, 10));
}
