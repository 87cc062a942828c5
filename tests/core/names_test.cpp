// Shift-JIS names: two-byte characters whose trail byte is 0x5C ('\\') are not separators, but a
// '/' or ':' is one wherever it stands.
#include "definition/file_name.h"
#include "definition/shift_jis.h"
#include "platform/native_text.h"

#include <gtest/gtest.h>

TEST(ShiftJis, PlainNamesAndCutsJudgedByCharacter)
{
    const std::tuple<std::string, bool, std::string> rows[] = {
        // name, plain, cut to 4 bytes
        {"track01.wav", true, "trac"},
        {"\x83\x5C.wav", true, "\x83\x5C.w"},       // ソ.wav
        {"\xFA\x5C\x9F\x5C", true, "\xFA\x5C\x9F\x5C"}, // lead bytes at both ends of their ranges
        {"abc\xE0\x5C", true, "abc"},
        {"x\x81\\y", true, "x\x81\\y"},
        {"ab\x83", true, "ab\x83"}, // a lone lead byte at the end stands alone
        {"..a", true, "..a"},
        {"a\\b", false, "a\\b"},
        {"\x83\x5C\\x", false, "\x83\x5C\\x"},
        {"a/b", false, "a/b"},
        {"c:x", false, "c:x"},
        {"x\x81/y", false, "x\x81/y"},
        {"x\x81:y", false, "x\x81:y"},
        {"\x9F/", false, "\x9F/"},
        {".", false, "."},
        {"..", false, ".."},
        {"...", false, "..."},
        {"", false, ""},
        {std::string("a\0b", 3), false, std::string("a\0b", 3)},
    };
    for (const auto& [name, plain, cut] : rows) {
        EXPECT_EQ(isPlainFileName(name), plain) << name;
        EXPECT_EQ(cutShiftJis(name, 4), cut) << name;
    }
}

TEST(ShiftJis, JoinsPathsWithTheSystemSeparator)
{
    const std::string separator = joinPath("a", "b").substr(1, 1);
    const std::string folder = nativeText("C:\\\x83\x5C"); // ends in ソ
    EXPECT_EQ(joinPath(folder, "x.wav"), folder + separator + "x.wav");
    EXPECT_EQ(joinPath(folder + separator, "x.wav"), folder + separator + "x.wav");
    EXPECT_EQ(joinPath("", "x.wav"), separator + "x.wav");
}

TEST(ShiftJis, JapaneseLiteralsAreInTheSystemEncoding)
{
#ifdef _WIN32
    EXPECT_EQ(std::string("合計時間"), "\x8D\x87\x8C\x76\x8E\x9E\x8A\xD4");
    EXPECT_EQ(std::string("ソ"), "\x83\x5C");
#else
    EXPECT_EQ(std::string("合計時間"), "\xE5\x90\x88\xE8\xA8\x88\xE6\x99\x82\xE9\x96\x93");
    EXPECT_EQ(std::string("ソ"), "\xE3\x82\xBD");
#endif
    EXPECT_EQ(nativeText("\x8D\x87\x8C\x76\x8E\x9E\x8A\xD4"), "合計時間");
}
