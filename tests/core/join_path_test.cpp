#include "platform/native_text.h"

#include <gtest/gtest.h>

namespace {

// The system's separator, learned from the one case without doubt.
char separator() { return joinPath("a", "b")[1]; }

} // namespace

TEST(JoinPath, AddsTheSeparatorOnlyWhenMissing)
{
    const std::string s(1, separator());
    EXPECT_EQ(joinPath("out", "a.wav"), "out" + s + "a.wav");
    EXPECT_EQ(joinPath("out" + s, "a.wav"), "out" + s + "a.wav");
    EXPECT_EQ(joinPath("", "a.wav"), s + "a.wav");
}

TEST(JoinPath, KnowsAFolderEndingInATwoByteCharacterHasNoSeparator)
{
    // On Windows ソ (0x83 0x5C) ends in the byte of the backslash; elsewhere texts are UTF-8.
    const std::string folder = nativeText("C:\\\x83\x5C");
    const std::string s(1, separator());
    EXPECT_EQ(joinPath(folder, "a.wav"), folder + s + "a.wav");
}

TEST(NativeText, ShowsShiftJisTextsInTheSystemEncoding)
{
    EXPECT_EQ(nativeText("\x8C\xA9\x96\x7B"), "見本");
    EXPECT_EQ(nativeText("plain.wav"), "plain.wav");
}
