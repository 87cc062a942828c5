#include <windows.h>

#include <gtest/gtest.h>

TEST(GuiHarness, RunsWithShiftJisCodePage)
{
    EXPECT_EQ(GetACP(), 932u) << "Wine must run with LANG=ja_JP.UTF-8 for code page 932";
}
