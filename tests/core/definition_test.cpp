// Every fixture is read through the Windows profile functions on Windows and through the
// portable reader elsewhere; both must give exactly these definitions.
#include "definition/loop_definition.h"
#include "platform/native_text.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

struct Case {
    const char* file;
    bool loads;
    std::string album; // a refused file keeps the album of the last accepted one
    std::vector<MusicEntry> entries;
};

// Fields: file, title, fmt_channels, fmt_samples, fmt_bits, wave_file, wave_start, wave_size, loop_start, loop_size.
const Case cases[] = {
    {"rules.mrl", true, "規則",
     {{"a.wav", "quoted value", 2, 44100, 16, "single", 0, 0, 0, 0},
      {"b.wav", "\"unbalanced", 3, 12, 16, "a\"b\"c", 4294967295u, 31, 5, 15},
      {"c.wav", "v ; x", 2, 0, 16, "", 1, 0, 0, 0},
      {"ab", "x", 2, 44100, 16, "", 0, 0, 0, 0}}},
    {"no_album.mrl", false, "規則", {}},
    {"long.mrl", true, std::string(255, 'x'),
     {{"abcdefghijklmno", std::string(255, 'x'), 2, 44100, 16, "abcdefghijklmn", 0, 0, 0, 0},
      {"abcdefghijklm表", [] { std::string t; for (int i = 0; i < 127; ++i) t += "あ"; return t; }(), 2, 44100, 16,
       "abcdefghijklmn", 0, 0, 0, 0}}},
    {"cr.mrl", true, "改行CR", {{"a.wav", "", 2, 44100, 16, "", 0, 0, 0, 7}}},
    {"lf.mrl", true, "改行LF", {{"a.wav", "", 2, 44100, 16, "", 0, 0, 0, 7}}},
    {"empty_album.mrl", false, "改行LF", {}},
    {"utf8_bom.mrl", true, "ユニコード", std::vector<MusicEntry>(60, {"曲.wav", "ユニコードの曲名、とても長い題名です", 2, 44100, 16, "", 0, 0, 0, 0})},
    {"utf16_bom.mrl", true, "ユニコード", {{"曲.wav", "曲名", 2, 44100, 16, "", 0, 0, 0, 0}}},
    {"does_not_exist.mrl", false, "ユニコード", {}},
};

std::string show(const std::vector<MusicEntry>& entries, std::string (*text)(const std::string&))
{
    std::ostringstream out;
    for (const MusicEntry& e : entries)
        out << text(e.file) << '|' << text(e.title) << '|' << e.fmt_channels << '|' << e.fmt_samples << '|'
            << e.fmt_bits << '|' << text(e.wave_file) << '|' << e.wave_start << '|' << e.wave_size << '|'
            << e.loop_start << '|' << e.loop_size << '\n';
    return out.str();
}

std::string asWritten(const std::string& text) { return text; }

} // namespace

TEST(LoopDefinition, ReadsEachFixtureAsTheSystemDoes)
{
    LoopDefinition definition;
    for (const Case& c : cases) {
        EXPECT_EQ(definition.load(fixturePath(c.file)), c.loads) << c.file;
        EXPECT_EQ(nativeText(definition.albumTitle()), c.album) << c.file;
        EXPECT_EQ(show(definition.entries(), nativeText), show(c.entries, asWritten)) << c.file;
    }
}
