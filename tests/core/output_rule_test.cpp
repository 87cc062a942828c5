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
