// Every fixture is read through the Windows profile functions on Windows and through the
// portable reader elsewhere; both must give exactly these definitions.
#include "definition/loop_definition.h"
#include "platform/native_text.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <sstream>

// One line an entry: its texts, then each number that is not the default (2 channels, 44,100
// frames a second, 16 bits, 0 elsewhere), all by their keys.
static std::string show(const std::vector<MusicEntry>& entries, std::string (*text)(const std::string&))
{
    std::ostringstream out;
    for (const MusicEntry& e : entries) {
        out << "file=" << text(e.file) << " title=" << text(e.title) << " wave_file=" << text(e.wave_file);
        const std::tuple<const char*, std::uint32_t, std::uint32_t> numbers[] = {
            {"fmt_channels", e.fmt_channels, 2}, {"fmt_samples", e.fmt_samples, 44100}, {"fmt_bits", e.fmt_bits, 16},
            {"wave_start", e.wave_start, 0},     {"wave_size", e.wave_size, 0},         {"loop_start", e.loop_start, 0},
            {"loop_size", e.loop_size, 0}};
        for (const auto& [key, value, usual] : numbers)
            out << (value == usual ? "" : " " + std::string(key) + "=" + std::to_string(value));
        out << '\n';
    }
    return out.str();
}

static std::string repeated(const std::string& text, int times) { return times == 0 ? "" : text + repeated(text, times - 1); }

TEST(LoopDefinition, ReadsEachFixtureAsTheSystemDoes)
{
    // A refused file leaves no entries and the album title of the last accepted one.
    const std::tuple<const char*, bool, std::string, std::string> cases[] = {
        {"rules.mrl", true, u8"規則",
         "file=a.wav title=quoted value wave_file=single\n"
         "file=b.wav title=\"unbalanced' wave_file=a\"b\"c fmt_channels=3 fmt_samples=12 wave_start=4294967295 "
         "wave_size=31 loop_start=5 loop_size=15\n"
         "file=c.wav title=v ; x wave_file= fmt_samples=0 wave_start=1\n"
         "file=ab title=x wave_file=\n"},
        {"no_album.mrl", false, u8"規則", ""},
        {"long.mrl", true, repeated("x", 255),
         "file=abcdefghijklmno title=" + repeated("x", 255) + " wave_file=abcdefghijklmn\n" +
             u8"file=abcdefghijklm表 title=" + repeated(u8"あ", 127) + " wave_file=abcdefghijklmn\n"},
        {"main_window_no_pieces.mrl", true, u8"空の盤", ""}, // an album without pieces is a definition too
        {"utf8_bom.mrl", true, u8"ユニコード", repeated(u8"file=曲.wav title=ユニコードの曲名、とても長い題名です wave_file=\n", 70)},
        {"utf16_bom.mrl", true, u8"ユニコード", u8"file=曲.wav title=曲名 wave_file= loop_size=7\n"},
        {"empty_album.mrl", false, u8"ユニコード", ""},
        {"does_not_exist.mrl", false, u8"ユニコード", ""}};
    LoopDefinition definition;
    for (const auto& [file, loads, album, entries] : cases) {
        EXPECT_EQ(definition.load(fixturePath(file)), loads) << file;
        EXPECT_EQ(utf8Text(definition.albumTitle()), album) << file;
        EXPECT_EQ(show(definition.entries(), utf8Text), entries) << file;
    }
}

TEST(LoopDefinition, ReadsUnicodeAsItsShiftJisTwinUnderAnyPath)
{
    // The same definitions saved as UTF-8 with and without a byte-order mark, in a folder whose
    // name Shift-JIS cannot hold, read exactly as the Shift-JIS files: names and titles cut alike.
    TempFolder folder;
    const std::string inner = folder.file("Café 𠮷田の曲 BGM🎵");
    ASSERT_TRUE(makeFolder(inner));
    auto same = [](const std::string& text) { return text; };
    for (const char* fixture : {"long.mrl", "main_window_three.mrl"}) {
        LoopDefinition expected;
        ASSERT_TRUE(expected.load(fixturePath(fixture)));
        const std::string shiftJis = readFileBytes(fixturePath(fixture));
        for (const std::string& bytes : {utf8Text(shiftJis), "\xEF\xBB\xBF" + utf8Text(shiftJis), shiftJis}) {
            const std::string path = joinPath(inner, "定義.mrl");
            ASSERT_TRUE(writeFileBytes(path, bytes));
            LoopDefinition read;
            ASSERT_TRUE(read.load(path)) << fixture;
            EXPECT_EQ(read.albumTitle(), expected.albumTitle()) << fixture;
            EXPECT_EQ(show(read.entries(), same), show(expected.entries(), same)) << fixture;
        }
    }
    // What Shift-JIS lacks reads as '?', each character one, and is told; nothing becomes a look-alike.
    // Saved as UTF-8, and as UTF-16 (where 🎵 and 𠮷 take two units each).
    const std::u16string text = u"[album]\ntitle=𠮷田の曲\n[music0000]\nfile=曲.wav\ntitle=café 🎵 ¥9\n"
                                u"[music0001]\nfile=é.wav\ntitle=二曲目\nwave_file=bgm🎵.dat\n";
    std::string utf16 = "\xFF\xFE";
    for (char16_t unit : text)
        utf16 += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    const std::string path = joinPath(inner, "lost.mrl");
    for (const std::string& bytes : {std::string(u8"[album]\ntitle=𠮷田の曲\n[music0000]\nfile=曲.wav\ntitle=café 🎵 ¥9\n"
                                                 u8"[music0001]\nfile=é.wav\ntitle=二曲目\nwave_file=bgm🎵.dat\n"),
                                     utf16}) {
        ASSERT_TRUE(writeFileBytes(path, bytes));
        LoopDefinition lost;
        ASSERT_TRUE(lost.load(path));
        EXPECT_EQ(utf8Text(lost.albumTitle()) + (lost.albumTitleLost() ? " lost" : ""), "?田の曲 lost");
        std::string flags;
        for (const MusicEntry& e : lost.entries())
            flags += utf8Text(e.file + "|" + e.title + "|" + e.wave_file) + "|" + "-f"[e.fileLost] + "-t"[e.titleLost] +
                     "-w"[e.waveFileLost] + "\n";
        EXPECT_EQ(flags, "曲.wav|caf? ? ?9||-t-\n?.wav|二曲目|bgm?.dat|f-w\n");
    }
}
