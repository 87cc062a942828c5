// Shift-JIS names: a trail byte 0x5C is no separator, but '/' and ':' are wherever they stand.
#include "definition/file_name.h"
#include "definition/split_rule.h"
#include "platform/native_text.h"
#include "platform/shift_jis.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(ShiftJis, PlainNamesJudgedByCharacter)
{
    const std::pair<std::string, bool> rows[] = {
        {"track01.wav", true}, {"\x83\x5C.wav", true}, {"\xE0\x5C\xFA\x5C\x9F\x5C", true}, {"x\x81\\y", true},
        {"ab\x83", true}, {"..a", true}, {"a\\b", false}, {"\x83\x5C\\x", false}, {"a/b", false}, {"c:x", false},
        {"x\x81/y", false}, {"x\x81:y", false}, {"\x9F/", false}, {".", false}, {"..", false}, {"...", false},
        {"", false}, {std::string("a\0b", 3), false}};
    for (const auto& [name, plain] : rows)
        EXPECT_EQ(isPlainFileName(name), plain) << name;
    EXPECT_EQ(cutShiftJis("abc\xE0\x5C", 4), "abc");
}

TEST(ShiftJis, ExtensionReplacedAfterTheLastDot)
{
    const std::pair<std::string, std::string> rows[] = {
        {"opening.wav", "opening.flac"}, {"opening", "opening.flac"}, {"a.b.wav", "a.b.flac"},
        {"x.", "x.flac"}, {"\x83\x5C.wav", "\x83\x5C.flac"}};
    for (const auto& [name, flac] : rows)
        EXPECT_EQ(replaceExtension(name, ".flac"), flac) << name;
}

TEST(ShiftJis, SplitMarkBeforeTheLastDot)
{
    EXPECT_EQ(splitName("a.b.wav", "-intro"), "a.b-intro.wav");
    EXPECT_EQ(splitName("all", "-loop"), "all-loop");
}

TEST(ShiftJis, SystemSeparatorAndEncoding)
{
    const std::string separator = joinPath("a", "b").substr(1, 1);
    const std::string folder = utf8Text("C:\\\x83\x5C"); // ends in ソ
    EXPECT_EQ(joinPath(folder, "x.wav"), folder + separator + "x.wav");
    EXPECT_EQ(joinPath(folder + separator, "x.wav"), folder + separator + "x.wav");
    EXPECT_EQ(joinPath("", "x.wav"), separator + "x.wav");
    // Japanese literals reach the system in its encoding.
#ifdef _WIN32
    EXPECT_EQ(std::string("合計時間ソ"), "\x8D\x87\x8C\x76\x8E\x9E\x8A\xD4\x83\x5C");
#else
    EXPECT_EQ(std::string("合計時間ソ"), "\xE5\x90\x88\xE8\xA8\x88\xE6\x99\x82\xE9\x96\x93\xE3\x82\xBD");
#endif
    EXPECT_EQ(utf8Text("\x8D\x87\x8C\x76\x8E\x9E\x8A\xD4"), u8"合計時間");
}

// A name after the title: the track number, then the title with each character a Windows name
// cannot hold turned into '_', judged by character: trail bytes 0x5C and 0x7C stay. The length
// limits are cli_title_names.sh's, natively and as morlo-cli.exe.
TEST(ShiftJis, NamesAfterTitles)
{
    const std::tuple<std::uint32_t, std::string, std::string> rows[] = {
        {7, "Stage 1: Forest/Night?", "07 Stage 1_ Forest_Night_.flac"},
        {12, "a\\b*c\"d<e>f|g\th\x7F", "12 a_b_c_d_e_f_g_h_.flac"},
        {3, "\x83\x5C\x95\x5C\x83\x7C", "03 \x83\x5C\x95\x5C\x83\x7C.flac"}, // ソ表ポ
        {100, "x", "100 x.flac"},
        {1, "", "01.flac"},
        {2, "x\x85\x40y\x81", "02 x_@y_.flac"}, // a pair and a lead byte that are no characters
        {5, "end. ", "05 end. .flac"},
    };
    for (const auto& [track, title, name] : rows)
        EXPECT_EQ(titleFileName(track, title, ".flac"), name) << title;
}
