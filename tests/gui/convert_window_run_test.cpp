// The progress window of a conversion run, driven as a user would: files on disk, the texts
// the window shows and the progress bar at the end.
#include "convert_window_driver.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t bgmHeader = 64;

// Three pieces of different formats in one BGM file; the last one spans several 1 MiB chunks.
std::vector<MusicEntry> threePieces()
{
    MusicEntry stereo = piece("stereo.wav", "オープニング", bgmHeader, 40000, 8000, 32000);
    stereo.fmt_samples = 8000;
    MusicEntry mono8 = piece("mono8.wav", "森の小径", bgmHeader + 40000, 22050, 0, 22050);
    mono8.fmt_channels = 1;
    mono8.fmt_samples = 11025;
    mono8.fmt_bits = 8;
    MusicEntry large = piece("large.wav", "夜の街", bgmHeader + 62050, 100000 + 2621440, 100000, 2621440);
    return {stereo, mono8, large};
}

std::string endText(unsigned successes, unsigned failures)
{
    return "出力終了(成功:" + std::to_string(successes) + "個 失敗:" + std::to_string(failures) + "個)";
}

struct Workspace {
    TempFolder folder;
    std::string bgm = folder.file("bgm");
    std::string out = folder.file("out");
    std::string expected = folder.file("expected");
    OutputOptions options;

    Workspace(std::uint32_t loopCount, std::uint32_t fadeSeconds)
    {
        makeFolder(bgm);
        makeFolder(out);
        makeFolder(expected);
        options.loopCount = loopCount;
        options.fadeSeconds = fadeSeconds;
        options.bgmFolder = bgm;
        options.outputFolder = out;
    }
};

} // namespace

TEST(ConvertWindow, WritesEveryPieceAsTheCoreDoesAndEndsWithTheCounts)
{
    Workspace space(2, 1);
    const std::string bgmData = patternBytes(bgmHeader + 62050 + 100000 + 2621440, 1);
    ASSERT_TRUE(writeFileBytes(space.bgm + "\\bgm.bin", bgmData));
    LoopDefinition definition;
    ASSERT_TRUE(loadDefinition(definition, space.folder, threePieces()));
    // A folder that ends in a backslash is joined without doubling it.
    space.options.bgmFolder += "\\";
    ASSERT_EQ(coreConversion(definition, space.options, space.expected, allRows(3)).successes, 3u);

    ConversionDriver driver;
    RunRecord record = driver.run(definition, space.options, allRows(3));

    for (const char* name : {"stereo.wav", "mono8.wav", "large.wav"}) {
        std::string written = readFileBytes(space.out + "\\" + name);
        EXPECT_FALSE(written.empty()) << name;
        EXPECT_TRUE(written == readFileBytes(space.expected + "\\" + name)) << name << " differs from the core's";
    }

    const std::vector<std::string> texts = {
        "bgm.binからstereo.wavを読み込み中", "オープニングを出力中", "bgm.binからmono8.wavを読み込み中",
        "森の小径を出力中",                  "bgm.binからlarge.wavを読み込み中",  "夜の街を出力中",
        endText(3, 0)};
    EXPECT_EQ(record.statusTexts, texts);
    EXPECT_TRUE(record.endShown);
    EXPECT_EQ(record.endCaption, "出力終了");
    EXPECT_EQ(record.endButton, "閉じる");
    EXPECT_EQ(record.rangeMaximum, 3u * 4 + 1);
    EXPECT_EQ(record.endPosition, record.rangeMaximum);
    EXPECT_TRUE(record.questions.empty());
    EXPECT_TRUE(record.ownerDisabledMeanwhile);
    EXPECT_TRUE(record.ownerEnabledAfter);
    EXPECT_EQ(record.windowStyle & 0x80C80080u, 0x80C80080u);
    EXPECT_EQ(record.clientArea.right, 256);
    EXPECT_EQ(record.clientArea.bottom, 88);
}

TEST(ConvertWindow, CountsEveryRefusedPieceAsFailedAndStillFillsTheBar)
{
    Workspace space(3, 0);
    const std::string bgmData = patternBytes(bgmHeader + 4000, 2);
    ASSERT_TRUE(writeFileBytes(space.bgm + "\\bgm.bin", bgmData));
    MusicEntry missingBgm = piece("missing.wav", "無い", bgmHeader, 1000, 0, 1000);
    missingBgm.wave_file = "none.bin";
    MusicEntry readOnly = piece("kept.wav", "読み取り専用", bgmHeader, 1000, 0, 1000);
    const std::vector<MusicEntry> entries = {
        piece("good.wav", "良い", bgmHeader, 4000, 1000, 3000),
        missingBgm,
        piece("loop.wav", "ループ超過", bgmHeader, 1000, 600, 600),
        piece("..\\up.wav", "外へ", bgmHeader, 1000, 0, 1000),
        piece("huge.wav", "巨大", bgmHeader, 0x60000000, 0, 0x60000000),
        piece("short.wav", "短い", bgmHeader + 3000, 2000, 0, 2000),
        readOnly,
    };
    LoopDefinition definition;
    ASSERT_TRUE(loadDefinition(definition, space.folder, entries));
    ASSERT_TRUE(writeFileBytes(space.out + "\\kept.wav", "kept as it was"));
    ASSERT_TRUE(setReadOnly(space.out + "\\kept.wav", true));
    ASSERT_EQ(coreConversion(definition, space.options, space.expected, {0}).successes, 1u);

    ConversionDriver driver;
    driver.answer({IDYES});
    std::vector<std::int32_t> rows = allRows(entries.size());
    rows.push_back(99);
    RunRecord record = driver.run(definition, space.options, rows);

    EXPECT_TRUE(readFileBytes(space.out + "\\good.wav") == readFileBytes(space.expected + "\\good.wav"));
    for (const char* name : {"missing.wav", "loop.wav", "huge.wav", "short.wav"})
        EXPECT_FALSE(fileExists(space.out + "\\" + name)) << name;
    EXPECT_FALSE(fileExists(space.folder.file("up.wav")));
    EXPECT_EQ(readFileBytes(space.out + "\\kept.wav"), "kept as it was");
    EXPECT_EQ(record.questions.size(), 1u);
    EXPECT_EQ(lastStatus(record), endText(1, 7));
    EXPECT_EQ(record.rangeMaximum, 8u * 5 + 1);
    EXPECT_EQ(record.endPosition, record.rangeMaximum);
    EXPECT_TRUE(record.ownerEnabledAfter);
    setReadOnly(space.out + "\\kept.wav", false);
}

TEST(ConvertWindow, WithoutRowsShowsTheEndAtOnceWithAFullBar)
{
    Workspace space(2, 10);
    LoopDefinition definition;
    ASSERT_TRUE(loadDefinition(definition, space.folder, threePieces()));

    ConversionDriver driver;
    RunRecord record = driver.run(definition, space.options, {});

    EXPECT_EQ(record.statusTexts, std::vector<std::string>{endText(0, 0)});
    EXPECT_TRUE(record.endShown);
    EXPECT_EQ(record.endButton, "閉じる");
    EXPECT_EQ(record.rangeMaximum, 1u);
    EXPECT_EQ(record.endPosition, 1u);
    EXPECT_TRUE(record.ownerEnabledAfter);
}

TEST(ConvertWindow, RunOfMoreThan65535StepsReachesItsMaximum)
{
    Workspace space(999, 0);
    ASSERT_TRUE(writeFileBytes(space.bgm + "\\bgm.bin", patternBytes(bgmHeader + 4, 3)));
    // Empty loops keep the run short: every loop is still one step.
    std::vector<MusicEntry> entries;
    for (int n = 0; n < 66; ++n)
        entries.push_back(piece("p" + std::to_string(n) + ".wav", "小品", bgmHeader, 4, 4, 0));
    LoopDefinition definition;
    ASSERT_TRUE(loadDefinition(definition, space.folder, entries));

    ConversionDriver driver;
    driver.hideWhileRunning();
    RunRecord record = driver.run(definition, space.options, allRows(entries.size()));

    EXPECT_EQ(record.endStatus, endText(66, 0));
    EXPECT_EQ(record.rangeMaximum, 66u * 1001 + 1);
    EXPECT_EQ(record.endPosition, record.rangeMaximum);
    EXPECT_EQ(readFileBytes(space.out + "\\p65.wav").size(), 46u + 4);
}
