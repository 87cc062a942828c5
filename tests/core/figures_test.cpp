// Worked examples of the output rule (the WAVE header's 32-bit view) and of the figures the list
// shows (unwrapped, with their own bytes per second), computed by hand.
#include "cli/arguments.h"
#include "definition/figures.h"
#include "definition/output_options.h"
#include "definition/output_rule.h"

#include <gtest/gtest.h>

TEST(OutputRule, WorkedExamples)
{
    struct Row {
        std::uint16_t channels;
        std::uint32_t rate;
        std::uint16_t bits;
        std::uint32_t intro, loop, loops, fade;
        std::uint32_t data, file, play;
        bool fits;
        const char* size;
        const char* time;
    };
    const Row rows[] = {
        {2, 44100, 16, 1000000, 5000000, 2, 10, 12764000, 12764046, 72, true, " 12,764,046", "1:12"},
        {2, 44100, 16, 1000, 4000, 3, 10, 17000, 17046, 0, true, " 17,046", "0:00"}, // fade capped to the loop
        {8, 192000, 32, 0, 4000000000u, 0, 999, 4000000000u, 4000000046u, 651, true, "4,000,000,046", "10:51"},
        {1, 1000, 12, 0, 3000, 1, 1, 4000, 4046, 4, true, "  4,546", "0:03"}, // 1500 bytes a second in the list
        {2, 1000, 12, 30, 6000, 1, 1, 9030, 9076, 3, true, "  9,076", "0:03"},
        {1, 1000, 4, 100, 1000, 2, 1, 2100, 2146, 0, true, "  2,646", "0:05"}, // no whole byte a frame
        {0, 44100, 16, 10, 20, 2, 10, 50, 96, 0, true, " 96", "--:--"},
        {1, 10, 8, 0, 5, 1, 0, 5, 51, 0, true, " 51", "0:00"},
        {2, 44100, 16, 0, 3000000000u, 2, 0, 1705032704, 1705032750, 9665, false, "6,000,000,046", "9:26:53"},
        {2, 44100, 16, 4294967249u, 0, 2, 10, 4294967249u, 4294967295u, 24347, true, "4,294,967,295", "6:45:47"},
        {2, 44100, 16, 4294967250u, 0, 2, 10, 4294967250u, 0, 24347, false, "4,294,967,296", "6:45:47"},
    };
    for (const Row& r : rows) {
        MusicEntry e;
        e.fmt_channels = r.channels;
        e.fmt_samples = r.rate;
        e.fmt_bits = r.bits;
        e.loop_start = r.intro;
        e.loop_size = r.loop;
        e.wave_size = r.intro + r.loop;
        SCOPED_TRACE(testing::Message() << r.bits << "-bit " << r.channels << " ch, loop " << r.loop);
        EXPECT_EQ(dataLength(e, r.loops, r.fade), r.data);
        EXPECT_EQ(fileSize(e, r.loops, r.fade), r.file);
        EXPECT_EQ(playSeconds(e, r.loops, r.fade), r.play);
        EXPECT_EQ(fitsWaveHeader(e, r.loops, r.fade), r.fits);
        EXPECT_TRUE(loopLiesInData(e));
        PieceFigures figures = pieceFigures(e, r.loops, r.fade);
        EXPECT_EQ(formatSize(figures.fileSize), r.size);
        EXPECT_EQ(pieceTimeText(figures), r.time);
    }
}

TEST(Figures, FormatsSizesTimesAndTotals)
{
    const std::tuple<std::uint64_t, const char*, const char*> rows[] = {
        {0, "  0", "0:00"},
        {46, " 46", "0:46"},
        {1005, "  1,005", "16:45"},
        {3599, "  3,599", "59:59"},
        {3600, "  3,600", "1:00:00"},
        {3900, "  3,900", "1:05:00"},
        {22764046, " 22,764,046", "6323:20:46"},
        {1234567890, "1,234,567,890", "342935:31:30"},
        {12345678901u, "12,345,678,901", "3429355:15:01"},
    };
    for (const auto& [value, size, time] : rows) {
        EXPECT_EQ(formatSize(value), size);
        EXPECT_EQ(formatTime(value), time);
    }
    EXPECT_EQ(totalsText(129, 22764046), "合計時間 : 2:09 合計サイズ :  22,764,046");
}

TEST(Counts, LimitedAsTypedAndAsGivenOnTheCommandLine)
{
    for (auto [typed, limited] : {std::pair<int, unsigned>{-1, 999}, {-5, 999}, {1000, 999}, {999, 999}, {0, 0}, {7, 7}})
        EXPECT_EQ(limitCount(typed), limited) << typed;
    for (auto [text, ok, count] : {std::tuple<const char*, bool, unsigned>{"7", true, 7}, {"1500", true, 999},
                                   {"-1", true, 999}, {"99999999999", true, 999}, {"", false, 0}, {"3x", false, 0}}) {
        std::uint32_t parsed = 0;
        EXPECT_EQ(parseCount(text, parsed), ok) << text;
        EXPECT_EQ(parsed, count) << text;
    }
    using Rows = std::vector<std::int32_t>;
    for (auto [text, ok, wanted] : {std::tuple<const char*, bool, Rows>{"4,0,2-4", true, {0, 2, 3, 4}},
                                    {"4", true, {4}}, {"5", false, {}}, {"4-2", false, {}}, {"", false, {}},
                                    {"1,", false, {}}, {"a", false, {}}, {"-2", false, {}}, {"1-2-3", false, {}}}) {
        Rows rows;
        std::string problem;
        EXPECT_EQ(parsePieceList(text, 5, rows, problem), ok) << text;
        EXPECT_EQ(ok ? rows : Rows{}, wanted) << text;
        EXPECT_EQ(problem.empty(), ok) << text;
    }
}

TEST(Counts, CommandLinesAcceptedAndRefused)
{
    CliArguments parsed;
    std::string problem;
    ASSERT_TRUE(parseArguments({"convert", "a.mrl", "--bgm", "in", "--out", "o", "--loops", "1500", "--fade", "0",
                                "--only", "1", "--yes"}, parsed, problem));
    EXPECT_EQ(parsed.command, CliArguments::Command::Convert);
    EXPECT_EQ(parsed.definitionPath + parsed.bgmFolder + parsed.outputFolder + parsed.only, "a.mrlino1");
    EXPECT_EQ(parsed.loopCount * 1000 + parsed.fadeSeconds, 999000u);
    EXPECT_TRUE(parsed.overwrite);
    ASSERT_TRUE(parseArguments({"list", "a.mrl"}, parsed = CliArguments(), problem));
    EXPECT_EQ(parsed.loopCount * 1000 + parsed.fadeSeconds, 2010u);
    const std::vector<std::vector<std::string>> refused = {
        {}, {"play", "a.mrl"}, {"list"}, {"list", "a.mrl", "b.mrl"}, {"list", "a.mrl", "--bgm", "x"},
        {"convert", "a.mrl", "--bgm", "in"}, {"convert", "a.mrl", "--out"}, {"list", "a.mrl", "--loops", "many"}};
    for (const auto& words : refused) {
        CliArguments fresh;
        std::string reason;
        EXPECT_FALSE(parseArguments(words, fresh, reason) || reason.empty()) << words.size();
    }
}
