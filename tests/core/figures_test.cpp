// Worked examples of the output rule (the WAVE header's 32-bit view) and of the figures the list
// shows (unwrapped, with their own bytes per second), computed by hand.
#include "cli/arguments.h"
#include "definition/figures.h"
#include "definition/output_options.h"
#include "definition/output_rule.h"
#include "definition/writable_rule.h"
#include "support/run_options.h"

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>

TEST(Figures, WorkedExamplesAndTexts)
{
    struct Row { std::uint16_t channels; std::uint32_t rate; std::uint16_t bits; std::uint32_t intro, loop, loops, fade;
                 const char* seen; const char* file = "a.wav"; std::uint32_t dataShortBy = 0, trailer = 0;
                 bool fullFade = false; };
    const Row rows[] = { // seen: dataLength|refusal|list size|list time
        {2, 44100, 16, 1000000, 5000000, 2, 10, "12764000|-| 12,764,046|1:12"},
        {2, 44100, 16, 1000, 4000, 3, 10, "17000|-| 17,046|0:00"}, // the fade capped to one loop
        {8, 192000, 32, 0, 4000000000u, 0, 999, "4000000000|-|4,000,000,046|10:51"},
        {1, 1000, 12, 0, 3000, 1, 1, "4000|-|  4,546|0:03"}, // the list counts 1500 bytes a second
        {2, 1000, 12, 30, 6000, 1, 1, "9030|-|  9,076|0:03"},
        {1, 1000, 4, 100, 1000, 2, 1, "2100|-|  2,646|0:05"}, // no whole byte a frame
        {0, 44100, 16, 10, 20, 2, 10, "50|-| 96|--:--"},
        {1, 10, 8, 0, 5, 1, 0, "5|-| 51|0:00"},
        {1, 10, 8, 0, 5, 1, 0, "5|-| 61|0:00", "a.wav", 0, 10}, // the trailer adds bytes, not time
        {2, 44100, 16, 0, 3000000000u, 2, 0, "1705032704|too large|出力不可|--:--"},
        {2, 44100, 16, 4294967249u, 0, 2, 10, "4294967249|-|4,294,967,295|6:45:47"},
        {2, 44100, 16, 4294967250u, 0, 2, 10, "4294967250|too large|出力不可|--:--"},
        {2, 44100, 16, 4294967249u, 0, 2, 10, "4294967249|too large|出力不可|--:--", "a.wav", 0, 1},
        {2, 44100, 16, 176400, 882000, 2, 10, "2822400|leaves folder|出力不可|--:--", "..\\up.wav"},
        {2, 44100, 16, 176400, 882000, 2, 10, "2822400|loop past data|出力不可|--:--", "a.wav", 1},
        {2, 44100, 16, 4294500000u, 882000, 0, 10, "414704|loop past data|出力不可|--:--"}, // its end wraps
        {2, 48000, 24, 288000, 8640000, 2, 10, "20448000|-| 20,448,046|1:11"},
        {2, 48000, 24, 288000, 8640000, 999, 10, "44593408|too large|出力不可|--:--"},
        // A full fade runs all its seconds through a shorter loop, and changes nothing for a longer one.
        {2, 44100, 16, 1000, 4000, 3, 10, "1777000|-|  1,777,046|0:10", "a.wav", 0, 0, true},
        {2, 44100, 16, 1000000, 5000000, 2, 10, "12764000|-| 12,764,046|1:12", "a.wav", 0, 0, true},
        {2, 44100, 16, 1000, 0, 2, 10, "1000|-|  1,046|0:00", "a.wav", 0, 0, true}, // nothing to fade
        {1, 1000, 12, 0, 30, 1, 1, "1030|-|  1,576|0:01", "a.wav", 0, 0, true}, // the list's rate again
        {2, 44100, 16, 4293203249u, 4, 0, 10, "4294967249|-|4,294,967,295|6:45:47", "a.wav", 0, 0, true},
        {2, 44100, 16, 4293203250u, 4, 0, 10, "4294967250|too large|出力不可|--:--", "a.wav", 0, 0, true},
        {8, 192000, 32, 0, 4, 0, 999, "1842888704|too large|出力不可|--:--", "a.wav", 0, 0, true}, // past 4 GiB
    };
    const char* refusals[] = {"-", "name lost", "leaves folder", "loop past data", "too large"};
    FigureTotals totals;
    for (const Row& r : rows) {
        MusicEntry e{r.file, "", r.channels, r.rate, r.bits, "", 0, r.intro + r.loop - r.dataShortBy, r.intro, r.loop};
        const OutputOptions options = runOptions(r.loops, r.fade, r.fullFade);
        PieceFigures figures = pieceFigures(e, options, r.trailer);
        totals.add(figures);
        std::ostringstream seen;
        seen << dataLength(e, options) << '|' << refusals[static_cast<int>(pieceRefusal(e, options, r.trailer))]
             << '|' << pieceSizeText(figures) << '|' << pieceTimeText(figures);
        EXPECT_EQ(seen.str(), r.seen);
    }
    EXPECT_EQ(totalsText(totals.seconds, totals.bytes), "合計時間 : 13:46:22 合計サイズ : 12,637,723,964");
    const std::tuple<std::uint64_t, const char*, const char*> texts[] = {
        {0, "  0", "0:00"}, {46, " 46", "0:46"}, {1005, "  1,005", "16:45"}, {3599, "  3,599", "59:59"},
        {3600, "  3,600", "1:00:00"}, {3900, "  3,900", "1:05:00"}, {22764046, " 22,764,046", "6323:20:46"},
        {1234567890, "1,234,567,890", "342935:31:30"}, {12345678901u, "12,345,678,901", "3429355:15:01"},
        {999, "999", "16:39"}, {1000, "  1,000", "16:40"}, {100000, "100,000", "27:46:40"},
        {1000005, "  1,000,005", "277:46:45"}, {10020030, " 10,020,030", "2783:20:30"},
        {999999999, "999,999,999", "277777:46:39"}, {1000000000, "1,000,000,000", "277777:46:40"},
        {1002003004, "1,002,003,004", "278334:10:04"}};
    for (const auto& [value, size, time] : texts)
        EXPECT_EQ(formatSize(value) + "|" + formatTime(value), std::string(size) + "|" + time);
}

// The list's bytes per second beside the header's: apart where a frame is no whole number of
// bytes or the list's product passes 2^32 (figures.h says why).
TEST(Figures, ListRateIsNotTheHeaderRate)
{
    const std::tuple<std::uint16_t, std::uint16_t, std::uint32_t, std::uint32_t, std::uint32_t> rows[] = {
        // channels, bits, frames a second: the list's bytes a second, the header's
        {2, 16, 44100, 176400, 176400}, {3, 24, 48000, 432000, 432000}, {1, 12, 1000, 1500, 1000},
        {1, 4, 1000, 500, 0}, {8, 32, 20000000, 103129088, 640000000},
        // The 16-bit fields at their largest: the header keeps a block alignment of 16 bits.
        {65535, 16, 1, 131070, 65534}, {1, 65535, 44100, 361261687, 361223100}, {65535, 65535, 1, 536854528, 49152}};
    for (const auto& [channels, bits, rate, list, header] : rows) {
        const MusicEntry e{"a.wav", "", channels, rate, bits, "", 0, 0, 0, 0};
        EXPECT_EQ(std::make_pair(figureBytesPerSecond(e), bytesPerSecond(e)), std::make_pair(list, header)) << bits;
    }
}

// What a count, a piece list or a command line reads as; "-" when refused.
static std::string readAs(const std::string& kind, const std::string& text)
{
    std::istringstream split(text);
    std::vector<std::string> words{std::istream_iterator<std::string>(split), {}};
    std::vector<std::int32_t> rows;
    std::uint32_t count = 0;
    CliArguments p;
    std::string problem;
    std::ostringstream out;
    if (kind == "typed")
        out << limitCount(std::stoi(text));
    else if (kind == "count" && parseCount(text, count))
        out << count;
    else if (kind == "pieces" && parsePieceList(text, 5, rows, problem))
        for (std::int32_t row : rows)
            out << row << ' ';
    else if (kind == "line" && parseArguments(words, p, problem))
        out << (p.command == CliArguments::Command::Convert ? "convert " : "list ") << p.definitionPath << ' '
            << p.options.bgmFolder << ' ' << p.options.outputFolder << ' ' << p.options.loopCount << ' '
            << p.options.fadeSeconds << ' ' << p.only << (p.overwrite ? " yes" : "")
            << (p.options.toStandardOutput ? " stdout" : "")
            << (p.options.format != OutputFormat::Wave ? " format " + std::to_string(static_cast<int>(p.options.format)) : "")
            << (p.options.quality != defaultVorbisQuality ? " quality " + std::to_string(p.options.quality) : "")
            << (p.skipExisting ? " skip" : "") << (p.help ? " help" : "");
    else
        return problem.empty() && kind != "count" ? "refused without a reason" : "-";
    return out.str();
}

TEST(Counts, AsTypedAndOnTheCommandLine)
{
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"typed", "-1", "999"}, {"typed", "1000", "999"}, {"typed", "999", "999"}, {"typed", "0", "0"},
        {"count", "7", "7"}, {"count", "1500", "999"}, {"count", "-1", "999"}, {"count", "99999999999", "999"},
        {"count", "", "-"}, {"count", "3x", "-"}, {"pieces", "4,0,2-4", "0 2 3 4 "}, {"pieces", "4", "4 "},
        {"pieces", "5", "-"}, {"pieces", "4-2", "-"}, {"pieces", "", "-"}, {"pieces", "1,", "-"}, {"pieces", "-2", "-"},
        {"pieces", "1-2-3", "-"}, {"line", "list a.mrl", "list a.mrl   2 10 "},
        {"line", "convert a.mrl --bgm in --out o --loops 1500 --fade 0 --only 1 --yes", "convert a.mrl in o 999 0 1 yes"},
        {"line", "", "-"}, {"line", "play a.mrl", "-"}, {"line", "list", "-"}, {"line", "list a.mrl b.mrl", "-"},
        {"line", "list a.mrl --bgm x", "-"}, {"line", "convert a.mrl --bgm in", "-"}, {"line", "convert a.mrl --out", "-"},
        {"line", "list a.mrl --loops x", "-"}, {"line", "convert a.mrl --bgm in --stdout --only 1", "convert a.mrl in  2 10 1 stdout"},
        {"line", "convert a.mrl --bgm in --stdout --out o", "-"}, {"line", "convert a.mrl --bgm in --out o --stdout", "-"},
        {"line", "list a.mrl --format ogg", "list a.mrl   2 10  format 2"}, {"line", "list a.mrl --format mp3", "-"},
        {"line", "convert a.mrl --bgm in --out o --format flac --quality -1", "convert a.mrl in o 2 10  format 1 quality -1.000000"},
        {"line", "convert a.mrl --bgm in --out o --quality 10.5", "-"}, {"line", "convert a.mrl --bgm in --out o --quality 5x", "-"},
        {"line", "list a.mrl --quality 3", "-"}, {"line", "check --help", "list    2 10  help"},
        {"line", "convert a.mrl --bgm in --out o --skip-existing", "convert a.mrl in o 2 10  skip"},
        {"line", "convert a.mrl --bgm in --out o --yes --skip-existing", "-"}, {"line", "list a.mrl --skip-existing", "-"}};
    for (const auto& [kind, text, seen] : rows)
        EXPECT_EQ(readAs(kind, text), seen) << kind << " " << text;
}
