// Worked examples of the output rule (the WAVE header's 32-bit view) and of the figures the list
// shows (unwrapped, with their own bytes per second), computed by hand.
#include "cli/arguments.h"
#include "definition/figures.h"
#include "definition/output_options.h"
#include "definition/output_rule.h"
#include "definition/writable_rule.h"
#include "support/pieces.h"
#include "support/run_options.h"

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>

TEST(Figures, WorkedExamplesAndTexts)
{
    const char* refusals[] = {"-", "name lost", "leaves folder", "loop past data", "too large"};
    FigureTotals totals;
    // The header's data length, why a run refuses the piece ("-" for none), the list's size and
    // time; every piece adds to the totals.
    const auto seen = [&](const MusicEntry& e, std::uint32_t loops, FadeRequest fade, std::uint32_t trailer = 0) {
        const OutputOptions options = runOptions(loops, fade.seconds, fade.full);
        const PieceFigures figures = pieceFigures(e, options, trailer);
        totals.add(figures);
        std::ostringstream out;
        out << dataLength(e, options) << '|' << refusals[static_cast<int>(pieceRefusal(e, options, trailer))]
            << '|' << pieceSizeText(figures) << '|' << pieceTimeText(figures);
        return out.str();
    };
    struct Row { std::uint16_t channels; std::uint32_t rate; std::uint16_t bits; std::uint32_t intro, loop, loops, fade;
                 const char* seen; };
    const Row rows[] = { // channels, frames a second, bits; intro and loop bytes; loops, fade seconds
        {2, 44100, 16, 1000000, 5000000, 2, 10, "12764000|-| 12,764,046|1:12"},
        {2, 44100, 16, 1000, 4000, 3, 10, "17000|-| 17,046|0:00"}, // the fade capped to one loop
        {8, 192000, 32, 0, 4000000000u, 0, 999, "4000000000|-|4,000,000,046|10:51"},
        {1, 1000, 12, 0, 3000, 1, 1, "4000|-|  4,546|0:03"}, // the list counts 1500 bytes a second
        {2, 1000, 12, 30, 6000, 1, 1, "9030|-|  9,076|0:03"},
        {1, 1000, 4, 100, 1000, 2, 1, "2100|-|  2,646|0:05"}, // no whole byte a frame
        {0, 44100, 16, 10, 20, 2, 10, "50|-| 96|--:--"},
        {1, 10, 8, 0, 5, 1, 0, "5|-| 51|0:00"},
        {2, 44100, 16, 0, 3000000000u, 2, 0, "1705032704|too large|出力不可|--:--"},
        {2, 44100, 16, 4294967249u, 0, 2, 10, "4294967249|-|4,294,967,295|6:45:47"},
        {2, 44100, 16, 4294967250u, 0, 2, 10, "4294967250|too large|出力不可|--:--"},
        {2, 44100, 16, 4294500000u, 882000, 0, 10, "414704|loop past data|出力不可|--:--"}, // its end wraps
        {2, 48000, 24, 288000, 8640000, 2, 10, "20448000|-| 20,448,046|1:11"},
        {2, 48000, 24, 288000, 8640000, 999, 10, "44593408|too large|出力不可|--:--"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(seen(pieceEntry(r.channels, r.rate, r.bits, r.intro, r.loop), r.loops, FadeRequest{r.fade}), r.seen);
    // A full fade runs all its seconds through a shorter loop, and changes nothing for a longer one.
    const Row fullFades[] = {
        {2, 44100, 16, 1000, 4000, 3, 10, "1777000|-|  1,777,046|0:10"},
        {2, 44100, 16, 1000000, 5000000, 2, 10, "12764000|-| 12,764,046|1:12"},
        {2, 44100, 16, 1000, 0, 2, 10, "1000|-|  1,046|0:00"}, // nothing to fade
        {1, 1000, 12, 0, 30, 1, 1, "1030|-|  1,576|0:01"},     // the list's rate again
        {2, 44100, 16, 4293203249u, 4, 0, 10, "4294967249|-|4,294,967,295|6:45:47"},
        {2, 44100, 16, 4293203250u, 4, 0, 10, "4294967250|too large|出力不可|--:--"},
        {8, 192000, 32, 0, 4, 0, 999, "1842888704|too large|出力不可|--:--"}, // past 4 GiB
    };
    for (const Row& r : fullFades)
        EXPECT_EQ(seen(pieceEntry(r.channels, r.rate, r.bits, r.intro, r.loop), r.loops, FadeRequest{r.fade, true}),
                  r.seen);
    // A trailer adds bytes, not time, and counts toward the limit.
    EXPECT_EQ(seen(pieceEntry(1, 10, 8, 0, 5), 1, FadeRequest{0}, 10), "5|-| 61|0:00");
    EXPECT_EQ(seen(pieceEntry(2, 44100, 16, 4294967249u, 0), 2, FadeRequest{10}, 1),
              "4294967249|too large|出力不可|--:--");
    // A name that leaves the output folder, and data that ends a byte before the loop does.
    MusicEntry up = pieceEntry(2, 44100, 16, 176400, 882000), cut = up;
    up.file = "..\\up.wav";
    cut.wave_size -= 1;
    EXPECT_EQ(seen(up, 2, FadeRequest{10}), "2822400|leaves folder|出力不可|--:--");
    EXPECT_EQ(seen(cut, 2, FadeRequest{10}), "2822400|loop past data|出力不可|--:--");
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
        const MusicEntry e = pieceEntry(channels, rate, bits);
        EXPECT_EQ(std::make_pair(figureBytesPerSecond(e), bytesPerSecond(e)), std::make_pair(list, header)) << bits;
    }
}

// --length: the smallest count whose playing time, as the list shows it, reaches the length, at
// 1000 bytes a second.
TEST(Figures, LengthGivesEachPieceTheSmallestCountThatReachesIt)
{
    struct Row { std::uint16_t channels; std::uint32_t intro, loop, fade; bool full; std::uint32_t length, count; };
    const Row rows[] = { // 2 s, then 3 s a loop, then the fade (3 s: one loop at most)
        {1, 2000, 3000, 10, false, 0, 0}, {1, 2000, 3000, 10, false, 8, 1}, {1, 2000, 3000, 10, false, 9, 2},
        {1, 2000, 3000, 10, true, 16, 2}, {1, 2000, 3000, 0, false, 2, 0}, {1, 2000, 3000, 0, false, 3, 1},
        {1, 2500, 3000, 10, false, 6, 1}, // 5.5 s shows as 5
        {1, 2000, 3000, 10, false, 2999, 998}, {1, 2000, 3000, 10, false, 3000, 999}, // 999 loops: 3002 s
        {1, 2000, 3000, 10, false, 3004, 999}, {1, 2000, 0, 10, false, 2, 0}, {1, 2000, 0, 10, false, 3, 999},
        {0, 2000, 3000, 10, false, 1, 999}}; // no time without channels
    for (const Row& r : rows) {
        const MusicEntry entry = pieceEntry(r.channels, 1000, 8, r.intro, r.loop);
        OutputOptions options = runOptions(7, r.fade, r.full);
        EXPECT_EQ(pieceOptions(entry, options).loopCount, 7u) << "without a length the count given stays";
        options.lengthSeconds = r.length;
        EXPECT_EQ(pieceOptions(entry, options).loopCount, r.count) << r.length;
    }
}

TEST(Counts, AsTypedAndOnTheCommandLine)
{
    // Typed into the window's fields: anything outside 0..999 is 999.
    for (const auto& [typed, count] : {std::pair{-1, 999u}, {1000, 999u}, {999, 999u}, {0, 0u}})
        EXPECT_EQ(limitCount(typed), count) << typed;
    // Given to --loops or --fade: above 999 the same, said to be limited; what is no number, or a
    // negative one, is refused.
    const std::pair<const char*, const char*> given[] = {
        {"7", "7"}, {"999", "999"}, {"1000", "999 limited"}, {"99999999999999999999", "999 limited"},
        {"-1", "refused"}, {"-0", "refused"}, {"", "refused"}, {"3x", "refused"}};
    for (const auto& [text, count] : given) {
        std::uint32_t read = 0;
        bool limited = false;
        EXPECT_EQ(parseCount(text, read, limited) ? std::to_string(read) + (limited ? " limited" : "") : "refused", count)
            << text;
    }
}

TEST(PieceLists, ReadInOrderWithoutRepeats)
{
    const std::pair<const char*, const char*> lists[] = { // out of five pieces
        {"4,0,2-4", "0 2 3 4"}, {"4", "4"}, {"5", "refused"}, {"4-2", "refused"}, {"", "refused"}, {"1,", "refused"},
        {"-2", "refused"}, {"1-2-3", "refused"}};
    for (const auto& [text, chosen] : lists) {
        std::vector<std::int32_t> rows;
        std::string problem, read;
        if (!parsePieceList(text, 5, rows, problem))
            read = problem.empty() ? "refused without a reason" : "refused";
        for (std::int32_t row : rows)
            read += (read.empty() ? "" : " ") + std::to_string(row);
        EXPECT_EQ(read, chosen) << text;
    }
}

// A command line as its fields, each named and given only when it is not the default (2 loops,
// 10 seconds of fade, WAVE, quality 5); "refused" when refused with a reason.
static std::string readAs(const std::string& line)
{
    std::istringstream split(line);
    CliArguments p;
    std::string problem;
    if (!parseArguments({std::istream_iterator<std::string>(split), {}}, p, problem))
        return problem.empty() ? "refused without a reason" : "refused";
    using C = CliArguments::Command;
    std::ostringstream out;
    out << (p.command == C::List ? "list" : p.command == C::Convert ? "convert" : p.command == C::Check ? "check" : "?");
    const std::pair<const char*, std::string> texts[] = {
        {"definition", p.definitionPath}, {"bgm", p.options.bgmFolder}, {"out", p.options.outputFolder}, {"only", p.only},
        {"playlist", p.playlist}, {"loops", p.options.loopCount == 2 ? "" : std::to_string(p.options.loopCount)},
        {"jobs", p.jobs == 0 ? "" : std::to_string(p.jobs)},
        {"fade", p.options.fadeSeconds == 10 ? "" : std::to_string(p.options.fadeSeconds)},
        {"length", p.options.lengthSeconds ? std::to_string(*p.options.lengthSeconds) : ""},
        {"format", p.options.format == OutputFormat::Wave ? "" : p.options.format == OutputFormat::Flac ? "flac"
                                                         : p.options.format == OutputFormat::OggVorbis ? "ogg" : "?"}};
    for (const auto& [name, value] : texts)
        out << (value.empty() ? "" : std::string(" ") + name + "=" + value);
    if (p.options.quality != 5)
        out << " quality=" << p.options.quality;
    const std::pair<const char*, bool> flags[] = {
        {"yes", p.overwrite}, {"skip-existing", p.skipExisting}, {"stdout", p.options.toStandardOutput}, {"json", p.json},
        {"tags", p.options.choices.tags}, {"loop-points", p.options.choices.loopPoints}, {"full-fade", p.options.choices.fullFade}, {"help", p.help}, {"split", p.options.split}};
    for (const auto& [name, set] : flags)
        out << (set ? std::string(" ") + name : "");
    return out.str();
}

TEST(CommandLine, ReadsEachCommandsOptions)
{
    const std::pair<const char*, const char*> lines[] = {
        {"list a.mrl", "list definition=a.mrl"},
        {"convert a.mrl --bgm in --out o --loops 1500 --fade 0 --only 1 --yes",
         "convert definition=a.mrl bgm=in out=o only=1 loops=999 fade=0 yes"},
        {"check a.mrl --bgm in --fade 20 --full-fade --json", "check definition=a.mrl bgm=in fade=20 json full-fade"},
        {"check --help", "check help"},
        {"convert a.mrl --bgm in --stdout --only 1", "convert definition=a.mrl bgm=in only=1 stdout"},
        {"list a.mrl --format ogg", "list definition=a.mrl format=ogg"},
        {"convert a.mrl --bgm in --out o --format flac --quality -1",
         "convert definition=a.mrl bgm=in out=o format=flac quality=-1"},
        {"convert a.mrl --bgm in --out o --skip-existing", "convert definition=a.mrl bgm=in out=o skip-existing"},
        {"convert a.mrl --bgm in --out o --format flac -j 3", "convert definition=a.mrl bgm=in out=o jobs=3 format=flac"},
        {"convert a.mrl --bgm in --out o --jobs 999", "convert definition=a.mrl bgm=in out=o jobs=999"},
        {"list a.mrl --length 3:00", "list definition=a.mrl length=180"},
        {"check a.mrl --bgm in --length 0:00", "check definition=a.mrl bgm=in length=0"},
        {"convert a.mrl --bgm in --out o --length 1:02:03 --json", "convert definition=a.mrl bgm=in out=o length=3723 json"},
        {"list a.mrl --length 99999:59", "list definition=a.mrl length=5999999"}, {"list a.mrl --length 3:60", "refused"},
        {"list a.mrl --length 3:5", "refused"}, {"list a.mrl --length 180", "refused"}, {"list a.mrl --length 1:2:03", "refused"},
        {"list a.mrl --length 1:00:00:00", "refused"}, {"list a.mrl --length 123456:00", "refused"},
        {"list a.mrl --length :30", "refused"}, {"list a.mrl --loops 2 --length 3:00", "refused"},
        {"convert a.mrl --bgm in --out o --length 3:00 --loops 3", "refused"},
        {"convert a.mrl --bgm in --stdout --only 1 --json", "refused"},
        {"convert a.mrl --bgm in --out o --split --json", "convert definition=a.mrl bgm=in out=o json split"},
        {"convert a.mrl --bgm in --out o --length 3:00 --split", "refused"},
        {"", "refused"}, {"play a.mrl", "refused"}, {"list", "refused"}, {"list a.mrl b.mrl", "refused"},
        {"list a.mrl --bgm x", "refused"}, {"check a.mrl", "refused"}, {"convert a.mrl --bgm in", "refused"},
        {"convert a.mrl --out", "refused"}, {"list a.mrl --loops x", "refused"}, {"list a.mrl --loops -1", "refused"},
        {"check a.mrl --bgm in --fade -0", "refused"},
        {"convert a.mrl --bgm in --stdout --out o", "refused"}, {"convert a.mrl --bgm in --out o --stdout", "refused"},
        {"list a.mrl --format mp3", "refused"}, {"convert a.mrl --bgm in --out o --quality 10.5", "refused"},
        {"convert a.mrl --bgm in --out o --quality 5x", "refused"}, {"list a.mrl --quality 3", "refused"},
        {"convert a.mrl --bgm in --out o --yes --skip-existing", "refused"}, {"list a.mrl --skip-existing", "refused"},
        {"convert a.mrl --bgm in --out o --jobs 0", "refused"}, {"convert a.mrl --bgm in --out o --jobs -2", "refused"},
        {"convert a.mrl --bgm in --out o -j x", "refused"}, {"convert a.mrl --bgm in --out o --jobs 1000", "refused"},
        {"convert a.mrl --bgm in --out o --jobs", "refused"}, {"list a.mrl --jobs 2", "refused"}};
    for (const auto& [line, read] : lines)
        EXPECT_EQ(readAs(line), read) << line;
}
