// What the progress window does with existing files and with a cancel in the middle of a run.
#include "convert_window_driver.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t bgmHeader = 64;

struct Workspace {
    TempFolder folder;
    std::string bgm = folder.file("bgm");
    std::string out = folder.file("out");
    std::string expected = folder.file("expected");
    OutputOptions options;

    explicit Workspace(std::uint32_t bgmSize)
    {
        makeFolder(bgm);
        makeFolder(out);
        makeFolder(expected);
        writeFileBytes(bgm + "\\bgm.bin", patternBytes(bgmSize, 7));
        options.loopCount = 2;
        options.fadeSeconds = 1;
        options.bgmFolder = bgm;
        options.outputFolder = out;
    }
};

bool startsWith(const std::string& text, const std::string& start)
{
    return text.compare(0, start.size(), start) == 0;
}

} // namespace

TEST(ConvertWindow, YesReplacesAnExistingFileAndNoLeavesItByteIdentical)
{
    Workspace space(bgmHeader + 20000);
    LoopDefinition definition;
    ASSERT_TRUE(loadDefinition(definition, space.folder,
                               {piece("first.wav", "一曲目", bgmHeader, 20000, 4000, 16000),
                                piece("second.wav", "二曲目", bgmHeader, 20000, 0, 20000)}));
    ASSERT_EQ(coreConversion(definition, space.options, space.expected, allRows(2)).successes, 2u);
    const std::string old = "an older file\r\n\x82\xa0";
    ASSERT_TRUE(writeFileBytes(space.out + "\\first.wav", old));
    ASSERT_TRUE(writeFileBytes(space.out + "\\second.wav", old));

    ConversionDriver driver;
    driver.answer({IDYES, IDNO});
    RunRecord record = driver.run(definition, space.options, allRows(2));

    EXPECT_TRUE(readFileBytes(space.out + "\\first.wav") == readFileBytes(space.expected + "\\first.wav"));
    EXPECT_EQ(readFileBytes(space.out + "\\second.wav"), old);
    ASSERT_EQ(record.questions.size(), 2u);
    EXPECT_EQ(record.questions[0], space.out + "\\first.wav" + "は存在します\n上書きしますか？");
    EXPECT_EQ(record.questions[1], space.out + "\\second.wav" + "は存在します\n上書きしますか？");
    EXPECT_EQ(record.questionCaptions[0], "確認");
    EXPECT_EQ(lastStatus(record), "出力終了(成功:1個 失敗:1個)");
    EXPECT_EQ(record.endPosition, 2u * 4 + 1);
    EXPECT_EQ(record.endPosition, record.rangeMaximum);
}

TEST(ConvertWindow, CancelDuringTheSecondPieceKeepsItPartlyWrittenAndTouchesNoLaterPiece)
{
    // Loops of 3 MiB, so the cancel lands between two chunks of the second piece.
    constexpr std::uint32_t loop = 3 * 1048576;
    Workspace space(bgmHeader + 1000 + loop);
    LoopDefinition definition;
    ASSERT_TRUE(loadDefinition(definition, space.folder,
                               {piece("one.wav", "一", bgmHeader, 1000 + loop, 1000, loop),
                                piece("two.wav", "二", bgmHeader, 1000 + loop, 1000, loop),
                                piece("three.wav", "三", bgmHeader, 1000 + loop, 1000, loop)}));
    ASSERT_EQ(coreConversion(definition, space.options, space.expected, {0, 1}).successes, 2u);
    ASSERT_TRUE(writeFileBytes(space.out + "\\three.wav", "an older third file"));

    ConversionDriver driver;
    driver.cancelAt("二を出力中");
    RunRecord record = driver.run(definition, space.options, allRows(3));

    EXPECT_TRUE(readFileBytes(space.out + "\\one.wav") == readFileBytes(space.expected + "\\one.wav"));
    const std::string part = readFileBytes(space.out + "\\two.wav");
    const std::string whole = readFileBytes(space.expected + "\\two.wav");
    EXPECT_GT(part.size(), 46u + 1000);
    EXPECT_LT(part.size(), whole.size());
    EXPECT_TRUE(startsWith(whole, part)) << "the partly written file must be the start of the whole one";
    EXPECT_EQ(readFileBytes(space.out + "\\three.wav"), "an older third file");
    EXPECT_TRUE(record.questions.empty());
    EXPECT_FALSE(record.endShown);
    EXPECT_EQ(lastStatus(record), "二を出力中");
    EXPECT_TRUE(record.ownerEnabledAfter);
}
