#include "convert/fade.h"
#include "convert/wave_header.h"
#include "convert/wave_writer.h"
#include "definition/output_rule.h"
#include "recording_front_end.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

MusicEntry piece(std::uint32_t loopStart, std::uint32_t loopSize)
{
    MusicEntry entry;
    entry.file = "out.wav";
    entry.loop_start = loopStart;
    entry.loop_size = loopSize;
    entry.wave_size = loopStart + loopSize;
    return entry;
}

std::int16_t sampleAt(const std::uint8_t* bytes, std::size_t index)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[index * 2] | bytes[index * 2 + 1] << 8));
}

void putSample(std::uint8_t* bytes, std::size_t index, std::int16_t value)
{
    bytes[index * 2] = static_cast<std::uint8_t>(value);
    bytes[index * 2 + 1] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(value) >> 8);
}

WaveBuffer patterned(std::size_t size)
{
    WaveBuffer buffer(size);
    for (std::size_t i = 0; i < size; ++i)
        buffer[i] = static_cast<std::uint8_t>(i * 31 + i / 256);
    return buffer;
}

// Writes the piece to a file through writeWaveFile and gives the file's bytes.
std::string writtenFile(const MusicEntry& entry, std::uint32_t loops, std::uint32_t fade, WaveBuffer buffer,
                        RecordingFrontEnd& hooks, PieceOutcome expected = PieceOutcome::Completed)
{
    TempFolder folder;
    FileHandle output;
    EXPECT_TRUE(output.createWrite(folder.file("out.wav")));
    EXPECT_EQ(writeWaveFile(output, entry, loops, fade, buffer, hooks), expected);
    output.close();
    return readFileBytes(folder.file("out.wav"));
}

} // namespace

TEST(WaveHeader, HoldsTheSizesAndFormatLittleEndian)
{
    MusicEntry entry = piece(1000000, 5000000);
    const auto header = waveHeader(entry, 2, 10);
    const std::uint8_t expected[46] = {
        'R', 'I', 'F', 'F', 0x86, 0xC3, 0xC2, 0x00, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ',
        18, 0, 0, 0, 1, 0, 2, 0, 0x44, 0xAC, 0, 0, 0x10, 0xB1, 0x02, 0,
        4, 0, 16, 0, 0, 0, 'd', 'a', 't', 'a', 0x60, 0xC3, 0xC2, 0x00};
    EXPECT_EQ(std::memcmp(header.data(), expected, 46), 0); // data 12,764,000 = 0x00C2C360
}

TEST(WaveWriter, WritesIntroductionLoopsAndTheStartOfTheLoopAgain)
{
    MusicEntry entry = piece(8, 12);
    entry.fmt_bits = 24; // left at its level by the fade, so the bytes stay comparable
    entry.fmt_channels = 1;
    WaveBuffer buffer = patterned(entry.wave_size);
    RecordingFrontEnd hooks;
    const std::uint32_t fade = fadeLength(entry, 1); // limited to one loop
    std::string file = writtenFile(entry, 3, 1, buffer, hooks);
    std::string data(buffer.begin(), buffer.end());
    std::string expected = data.substr(0, 8) + data.substr(8, 12) + data.substr(8, 12) + data.substr(8, 12) +
                           data.substr(8, fade);
    ASSERT_EQ(file.size(), 46 + expected.size());
    EXPECT_EQ(file.substr(46), expected);
    EXPECT_EQ(hooks.steps, 4) << "one step per loop and one at the end";
}

TEST(WaveWriter, WritesTheIntroductionAloneWithoutLoopsOrFade)
{
    MusicEntry entry = piece(10, 20);
    WaveBuffer buffer = patterned(entry.wave_size);
    RecordingFrontEnd hooks;
    std::string file = writtenFile(entry, 0, 0, buffer, hooks);
    EXPECT_EQ(file.size(), 56u);
    EXPECT_EQ(file.substr(46), std::string(buffer.begin(), buffer.begin() + 10));
}

TEST(WaveWriter, WritesLoopsInChunksOfOneMebibyteWithAYieldAfterEach)
{
    const std::uint32_t mebibyte = 0x100000;
    MusicEntry entry = piece(0, mebibyte * 7 / 2);
    RecordingFrontEnd hooks;
    std::string file = writtenFile(entry, 2, 0, WaveBuffer(entry.wave_size, 0x11), hooks);
    EXPECT_EQ(file.size(), 46u + 2 * entry.loop_size);
    // Eight loop chunks, one yield after each loop's step, and one at the end.
    EXPECT_EQ(hooks.yields, 8 + 2 + 1);
    EXPECT_EQ(hooks.steps, 3);
}

TEST(WaveWriter, StopsWhenCancelledAndKeepsWhatWasWritten)
{
    const std::uint32_t mebibyte = 0x100000;
    MusicEntry entry = piece(0, mebibyte * 3);
    RecordingFrontEnd hooks;
    hooks.cancelAfterYields = 2;
    std::string file = writtenFile(entry, 2, 10, WaveBuffer(entry.wave_size, 0x22), hooks, PieceOutcome::Cancelled);
    EXPECT_EQ(file.size(), 46u + 2 * mebibyte);
    EXPECT_EQ(hooks.steps, 0);
}

TEST(SourceRange, ReadsThePieceAndFailsWhenTheFileEndsEarly)
{
    TempFolder folder;
    std::string bgm(5000, '\0');
    for (std::size_t i = 0; i < bgm.size(); ++i)
        bgm[i] = static_cast<char>(i % 251);
    ASSERT_TRUE(writeFileBytes(folder.file("bgm.dat"), bgm));
    FileHandle source;
    ASSERT_TRUE(source.openRead(folder.file("bgm.dat")));
    MusicEntry entry = piece(0, 1000);
    entry.wave_start = 3000;
    WaveBuffer buffer(9000, 0x7F);
    RecordingFrontEnd hooks;
    ASSERT_EQ(readSourceRange(source, entry, buffer, hooks), PieceOutcome::Completed);
    EXPECT_EQ(std::string(buffer.begin(), buffer.end()), bgm.substr(3000, 1000));
    EXPECT_EQ(hooks.steps, 1);

    entry.wave_start = 4500;
    EXPECT_EQ(readSourceRange(source, entry, buffer, hooks), PieceOutcome::Failed)
        << "stale bytes must never be written as if they were the piece";
}

TEST(Fade, ScalesSixteenBitFramesLinearlyTowardZero)
{
    MusicEntry entry = piece(0, 44100 * 4);
    WaveBuffer buffer(entry.loop_size);
    for (std::size_t frame = 0; frame < 44100; ++frame) {
        putSample(buffer.data(), frame * 2, 20000);
        putSample(buffer.data(), frame * 2 + 1, -3);
    }
    putSample(buffer.data(), 22050 * 2, 3);
    putSample(buffer.data(), 22051 * 2 + 1, -32768);
    RecordingFrontEnd hooks;
    ASSERT_TRUE(applyFade(buffer.data(), entry.loop_size, entry, 1, hooks));
    EXPECT_EQ(sampleAt(buffer.data(), 0), 20000) << "the first frame keeps its level";
    EXPECT_EQ(sampleAt(buffer.data(), 1), -3);
    EXPECT_EQ(sampleAt(buffer.data(), 22050 * 2), 1) << "3 × 0.5 truncated toward zero";
    EXPECT_EQ(sampleAt(buffer.data(), 22050 * 2 + 1), -1) << "-3 × 0.5 truncated toward zero";
    EXPECT_EQ(sampleAt(buffer.data(), 22051 * 2 + 1), -16383);
    EXPECT_EQ(sampleAt(buffer.data(), 44099 * 2), 0) << "the last frame is scaled by 1/44100";
}

TEST(Fade, ScalesHalfwayFramesToExactlyHalf)
{
    MusicEntry entry = piece(0, 8);
    entry.fmt_samples = 2; // T = 2 frames
    WaveBuffer buffer(8);
    putSample(buffer.data(), 2, -32768);
    putSample(buffer.data(), 3, 3);
    RecordingFrontEnd hooks;
    ASSERT_TRUE(applyFade(buffer.data(), 8, entry, 1, hooks));
    EXPECT_EQ(sampleAt(buffer.data(), 2), -16384);
    EXPECT_EQ(sampleAt(buffer.data(), 3), 1);
}

TEST(Fade, ScalesEightBitSamplesAroundSilence)
{
    MusicEntry entry = piece(0, 4);
    entry.fmt_bits = 8;
    entry.fmt_channels = 2;
    entry.fmt_samples = 2; // T = 2 frames: factors 1 and 0.5
    WaveBuffer buffer = {228, 28, 228, 28};
    RecordingFrontEnd hooks;
    ASSERT_TRUE(applyFade(buffer.data(), 4, entry, 1, hooks));
    EXPECT_EQ(buffer, (WaveBuffer{228, 28, 178, 78}));
}

TEST(Fade, ScalesWholeFramesOfThreeChannelsAcrossChunks)
{
    MusicEntry entry = piece(0, 6 * 400000); // 2.3 MiB: 1 MiB is no whole number of frames
    entry.fmt_channels = 3;
    entry.fmt_samples = 400000; // T = 400,000 frames with F = 1
    WaveBuffer buffer(entry.loop_size);
    for (std::size_t i = 0; i < buffer.size() / 2; ++i)
        putSample(buffer.data(), i, 10000);
    RecordingFrontEnd hooks;
    ASSERT_TRUE(applyFade(buffer.data(), entry.loop_size, entry, 1, hooks));
    for (std::size_t frame = 0; frame < 400000; ++frame) {
        auto expected = static_cast<std::int16_t>(10000 * ((400000.0 - frame) / 400000.0));
        for (std::size_t channel = 0; channel < 3; ++channel)
            ASSERT_EQ(sampleAt(buffer.data(), frame * 3 + channel), expected) << "frame " << frame;
    }
}

TEST(Fade, LeavesOtherSampleSizesAlone)
{
    MusicEntry entry = piece(0, 6);
    entry.fmt_bits = 24;
    entry.fmt_channels = 1;
    WaveBuffer buffer = {1, 2, 3, 4, 5, 6};
    RecordingFrontEnd hooks;
    ASSERT_TRUE(applyFade(buffer.data(), 6, entry, 1, hooks));
    EXPECT_EQ(buffer, (WaveBuffer{1, 2, 3, 4, 5, 6}));
}
