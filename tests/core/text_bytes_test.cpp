// The program's Japanese texts are written as UTF-8 in the sources and must reach the system
// as Shift-JIS on Windows (and stay UTF-8 elsewhere).
#include "platform/native_text.h"

#include <gtest/gtest.h>

TEST(TextBytes, JapaneseLiteralsAreInTheSystemEncoding)
{
    EXPECT_EQ(std::string("合計時間"), nativeText("\x8D\x87\x8C\x76\x8E\x9E\x8A\xD4"));
    EXPECT_EQ(std::string("出力終了"), nativeText("\x8F\x6F\x97\xCD\x8F\x49\x97\xB9"));
    EXPECT_EQ(std::string("ソ"), nativeText("\x83\x5C"));
}
