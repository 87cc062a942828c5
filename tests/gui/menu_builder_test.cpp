#include "toolkit/menu_builder.h"
#include "toolkit/message_pump.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using IndexMap = std::map<std::uint16_t, std::uint32_t>;

std::string menuText(HMENU menu, int position)
{
    char text[2048] = {};
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

UINT menuType(HMENU menu, int position)
{
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &item);
    return item.fType;
}

// Unattached menus are the caller's to destroy; the bar takes its popups with it.
class Builder : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (!builder.menus().empty() && !attached)
            DestroyMenu(builder.menus()[0]);
    }
    MenuBuilder builder;
    bool attached = false;
};

} // namespace

TEST_F(Builder, BuildsTheMainMenu)
{
    ASSERT_TRUE(builder.createBar());
    EXPECT_TRUE(builder.addPopup(0, 1038, "ファイル(&F)"));
    EXPECT_TRUE(builder.addItem(1038, 1039, "定義ファイルを開く(&O)"));
    EXPECT_TRUE(builder.addItem(1038, 1040, "WAVE出力(&S)"));
    EXPECT_TRUE(builder.addSeparator(1038, 1041));
    EXPECT_TRUE(builder.addItem(1038, 1042, "終了(&X)"));
    EXPECT_TRUE(builder.addPopup(0, 1043, "編集(&E)"));
    EXPECT_TRUE(builder.addItem(1043, 1044, "全て選択(&A)"));
    EXPECT_TRUE(builder.addItem(1043, 1045, "全て解除(&U)"));
    EXPECT_TRUE(builder.addItem(1043, 1046, "選択反転(&R)"));
    EXPECT_TRUE(builder.addPopup(0, 1047, "ヘルプ(&H)"));
    EXPECT_TRUE(builder.addItem(1047, 1048, "バージョン情報(&A)"));

    EXPECT_EQ(builder.popupIndex(), (IndexMap{{0, 0}, {1038, 1}, {1043, 2}, {1047, 3}}));
    EXPECT_EQ(builder.itemIndex(), (IndexMap{{1038, 0}, {1039, 1}, {1040, 1}, {1041, 1}, {1042, 1}, {1043, 0},
                                             {1044, 2}, {1045, 2}, {1046, 2}, {1047, 0}, {1048, 3}}));
    ASSERT_EQ(builder.menus().size(), 4u);

    const HMENU bar = builder.menus()[0];
    ASSERT_EQ(GetMenuItemCount(bar), 3);
    EXPECT_EQ(menuText(bar, 0), "ファイル(&F)");
    EXPECT_EQ(menuText(bar, 1), "編集(&E)");
    EXPECT_EQ(menuText(bar, 2), "ヘルプ(&H)");
    EXPECT_EQ(GetSubMenu(bar, 2), builder.menus()[3]);
    EXPECT_EQ(GetMenuItemID(bar, 0), static_cast<UINT>(-1));

    const HMENU file = builder.menus()[1];
    ASSERT_EQ(GetMenuItemCount(file), 4);
    EXPECT_EQ(menuText(file, 1), "WAVE出力(&S)");
    EXPECT_EQ(menuType(file, 2) & MFT_SEPARATOR, UINT(MFT_SEPARATOR));
    EXPECT_EQ(GetMenuItemID(file, 2), 1041u);
    EXPECT_EQ(GetMenuItemID(file, 3), 1042u);

    Window window;
    ASSERT_TRUE(window.create(0, "STATIC", "menu", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr));
    EXPECT_TRUE(builder.attachTo(window.handle()));
    attached = true;
    EXPECT_EQ(GetMenu(window.handle()), bar);
    window.destroy();
    drainMessages();
    EXPECT_FALSE(IsMenu(bar));
}

TEST_F(Builder, PopupsCascadeAndTakeEntriesByTheirId)
{
    ASSERT_TRUE(builder.createBar());
    ASSERT_TRUE(builder.addPopup(0, 10, "outer"));
    ASSERT_TRUE(builder.addPopup(10, 11, "inner"));
    ASSERT_TRUE(builder.addItem(11, 12, "deep"));
    EXPECT_TRUE(builder.addItem(0, 13, "on the bar"));
    EXPECT_EQ(GetSubMenu(builder.menus()[1], 0), builder.menus()[2]);
    EXPECT_EQ(GetMenuItemID(builder.menus()[2], 0), 12u);
    EXPECT_EQ(GetMenuItemID(builder.menus()[0], 1), 13u);
    EXPECT_EQ(builder.itemIndex().at(11), 1u);
    EXPECT_EQ(builder.popupIndex().at(11), 2u);
}

TEST_F(Builder, DuplicateIdAppendsButKeepsTheFirstEntry)
{
    ASSERT_TRUE(builder.createBar());
    ASSERT_TRUE(builder.addPopup(0, 5, "first"));
    ASSERT_TRUE(builder.addPopup(0, 5, "second"));
    ASSERT_TRUE(builder.addItem(5, 6, "under five"));
    EXPECT_EQ(GetMenuItemCount(builder.menus()[0]), 2);
    EXPECT_EQ(GetMenuItemCount(builder.menus()[1]), 1);
    EXPECT_EQ(GetMenuItemCount(builder.menus()[2]), 0);
    EXPECT_EQ(builder.popupIndex().at(5), 1u);
}

TEST_F(Builder, RefusesWhatComesOutOfOrder)
{
    Window window;
    ASSERT_TRUE(window.create(0, "STATIC", "menu", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr));
    EXPECT_FALSE(builder.attachTo(window.handle()));
    EXPECT_FALSE(builder.addItem(0, 1, "no bar"));
    ASSERT_TRUE(builder.createBar());
    const HMENU bar = builder.menus()[0];
    EXPECT_FALSE(builder.createBar());
    EXPECT_EQ(builder.menus().size(), 1u);
    EXPECT_EQ(builder.menus()[0], bar);
    EXPECT_FALSE(builder.addPopup(99, 2, "unknown parent"));
    EXPECT_FALSE(builder.addSeparator(99, 3));
    EXPECT_EQ(builder.menus().size(), 1u);
    EXPECT_TRUE(builder.itemIndex().empty());
}

TEST_F(Builder, LongTextsAreCutAfter1023Bytes)
{
    ASSERT_TRUE(builder.createBar());
    const std::string longText(1500, 'm');
    ASSERT_TRUE(builder.addItem(0, 7, longText.c_str()));
    EXPECT_EQ(menuText(builder.menus()[0], 0), std::string(1023, 'm'));
}
