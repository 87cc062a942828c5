#include "definition/file_name.h"
#include "definition/shift_jis.h"

#include <gtest/gtest.h>

// ソ and 表 are two-byte characters whose second byte is 0x5C, the backslash.
const std::string so = "\x83\x5C";
const std::string hyou = "\x95\x5C";

TEST(ShiftJis, CutsOnCharacterBoundaries)
{
    EXPECT_EQ(cutShiftJis("abcdef", 4), "abcd");
    EXPECT_EQ(cutShiftJis("abc" + so, 4), "abc") << "half of ソ must not remain";
    EXPECT_EQ(cutShiftJis("ab" + so, 4), "ab" + so);
    EXPECT_EQ(cutShiftJis("", 4), "");
    EXPECT_EQ(cutShiftJis("ab\x83", 15), "ab\x83") << "a lone lead byte at the end stands alone";
}

TEST(ShiftJis, JudgesTheLastCharacterNotTheLastByte)
{
    EXPECT_TRUE(endsWithShiftJisCharacter("C:\\", '\\'));
    EXPECT_FALSE(endsWithShiftJisCharacter("C:\\" + so, '\\'));
    EXPECT_FALSE(endsWithShiftJisCharacter(hyou, '\\'));
    EXPECT_TRUE(endsWithShiftJisCharacter(hyou + "\\", '\\'));
    EXPECT_FALSE(endsWithShiftJisCharacter("", '\\'));
}

TEST(FileName, AcceptsPlainNamesWithBackslashTrailBytes)
{
    EXPECT_TRUE(isPlainFileName("track01.wav"));
    EXPECT_TRUE(isPlainFileName(so + hyou + ".wav"));
    EXPECT_TRUE(isPlainFileName("..a.wav"));
}

TEST(FileName, RefusesNamesThatLeaveTheFolder)
{
    for (const std::string& name : {std::string("..\\evil.wav"), std::string("sub/evil.wav"), std::string("C:evil.wav"),
                                    std::string(".."), std::string("."), std::string("..."), std::string(""),
                                    std::string("\\evil.wav"), so + "\\x.wav", std::string("a\0b", 3)})
        EXPECT_FALSE(isPlainFileName(name)) << name;
}
