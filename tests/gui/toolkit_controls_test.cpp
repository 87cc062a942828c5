#include "toolkit/controls.h"
#include "toolkit/font.h"
#include "toolkit/message_pump.h"
#include "toolkit/window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

namespace {

class ToolkitControls : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.create(0, "STATIC", "parent", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr));
    }

    void TearDown() override { drainMessages(); }

    bool makeListView(Window& listView)
    {
        return createListView(listView, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT, WS_EX_CLIENTEDGE, LVS_REPORT, 0, 0,
                              300, 200, parent.handle(), 1050);
    }

    std::string itemText(const Window& listView, int item, int subItem)
    {
        char text[2048] = {};
        LVITEMA record{};
        record.iSubItem = subItem;
        record.pszText = text;
        record.cchTextMax = sizeof text;
        listView.send(LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&record));
        return text;
    }

    Window parent;
};

TEST_F(ToolkitControls, RefusesAParentThatIsNoWindow)
{
    Window control;
    HWND gone = parent.handle();
    parent.destroy();
    EXPECT_FALSE(createStatic(control, 0, "x", SS_LEFT, 0, 0, 10, 10, gone, 1));
    EXPECT_FALSE(createStatic(control, 0, "x", SS_LEFT, 0, 0, 10, 10, nullptr, 1));
    EXPECT_EQ(control.handle(), nullptr);
}

TEST_F(ToolkitControls, ChildGetsItsIdTheChildStylesAndTheSharedFont)
{
    Window label;
    ASSERT_TRUE(createStatic(label, 0, "BGMフォルダ", SS_LEFT, 8, 8, 128, 16, parent.handle(), 1027));
    EXPECT_EQ(GetDlgItem(parent.handle(), 1027), label.handle());
    const auto style = static_cast<DWORD>(GetWindowLongA(label.handle(), GWL_STYLE));
    EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE), static_cast<DWORD>(WS_CHILD | WS_VISIBLE));
    ASSERT_NE(controlFont(), nullptr);
    EXPECT_EQ(reinterpret_cast<HFONT>(label.send(WM_GETFONT, 0, 0)), controlFont());
    char text[64] = {};
    GetDlgItemTextA(parent.handle(), 1027, text, sizeof text);
    EXPECT_STREQ(text, "BGMフォルダ");
}

TEST_F(ToolkitControls, RefusesASecondControlIntoALiveWindow)
{
    Window edit;
    ASSERT_TRUE(createEdit(edit, 0, "C:\\", ES_LEFT, 0, 0, 100, 20, parent.handle(), 1029));
    EXPECT_FALSE(createEdit(edit, 0, "D:\\", ES_LEFT, 0, 0, 100, 20, parent.handle(), 1030));
    EXPECT_EQ(GetDlgItem(parent.handle(), 1030), nullptr);
}

TEST_F(ToolkitControls, EveryButtonIsAPlainPushButton)
{
    Window defaultButton;
    Window checkBox;
    ASSERT_TRUE(createButton(defaultButton, 0, "OK", BS_DEFPUSHBUTTON, 0, 0, 40, 20, parent.handle(), 1));
    ASSERT_TRUE(createButton(checkBox, 0, "x", BS_AUTOCHECKBOX | BS_LEFT, 0, 30, 40, 20, parent.handle(), 2));
    EXPECT_EQ(GetWindowLongA(defaultButton.handle(), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    EXPECT_EQ(GetWindowLongA(checkBox.handle(), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    EXPECT_EQ(GetWindowLongA(checkBox.handle(), GWL_STYLE) & BS_LEFT, BS_LEFT);
}

TEST_F(ToolkitControls, SetTextReportsTheControlsAnswer)
{
    Window label;
    ASSERT_TRUE(createStatic(label, 0, "", SS_LEFT, 0, 0, 100, 16, parent.handle(), 1));
    EXPECT_TRUE(setText(label, "morlo ver.1.01"));
    label.destroy();
    EXPECT_FALSE(setText(label, "gone"));
}

TEST_F(ToolkitControls, ProgressRangeAboveSixteenBitsIsKeptWhole)
{
    Window bar;
    ASSERT_TRUE(createProgressBar(bar, 0, 0, 0, 0, 200, 16, parent.handle(), 1025));
    ASSERT_TRUE(setProgressRange(bar, 0, 70000));
    EXPECT_EQ(bar.send(PBM_GETRANGE, FALSE, 0), 70000);
    EXPECT_TRUE(setProgressRange(bar, 0, 3));
    setProgressStep(bar, 1);
    stepProgress(bar);
    stepProgress(bar);
    EXPECT_EQ(progressPosition(bar), 2u);
    bar.destroy();
    EXPECT_FALSE(setProgressRange(bar, 0, 0));
}

TEST_F(ToolkitControls, MinusOneAppendsItemsAndColumns)
{
    Window listView;
    ASSERT_TRUE(makeListView(listView));
    EXPECT_EQ(listView.send(LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    ASSERT_TRUE(insertColumn(listView, LVCFMT_LEFT, 100, "first", -1));
    ASSERT_TRUE(insertColumn(listView, LVCFMT_RIGHT, 50, "second", -1));
    ASSERT_TRUE(insertColumn(listView, LVCFMT_LEFT, 50, "front", 0));
    EXPECT_EQ(columnCount(listView), 3);
    char title[16] = {};
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT;
    column.pszText = title;
    column.cchTextMax = sizeof title;
    listView.send(LVM_GETCOLUMNA, 2, reinterpret_cast<LPARAM>(&column));
    EXPECT_STREQ(title, "second");

    ASSERT_TRUE(insertItem(listView, "a", -1));
    ASSERT_TRUE(insertItem(listView, "b", -1));
    ASSERT_TRUE(insertItem(listView, "c", 0));
    ASSERT_EQ(itemCount(listView), 3);
    EXPECT_EQ(itemText(listView, 0, 0), "c");
    EXPECT_EQ(itemText(listView, 2, 0), "b");
    EXPECT_TRUE(setItemText(listView, "曲名", 2, 1));
    EXPECT_EQ(itemText(listView, 2, 1), "曲名");
}

TEST_F(ToolkitControls, LongTextsAreCutAfter1023Bytes)
{
    Window listView;
    ASSERT_TRUE(makeListView(listView));
    ASSERT_TRUE(insertColumn(listView, LVCFMT_LEFT, 100, "title", -1));
    const std::string longText(1500, 'x');
    ASSERT_TRUE(insertItem(listView, longText.c_str(), -1));
    EXPECT_EQ(itemText(listView, 0, 0), longText.substr(0, 1023));
    ASSERT_TRUE(setItemText(listView, std::string(1023, 'y').c_str(), 0, 0));
    EXPECT_EQ(itemText(listView, 0, 0), std::string(1023, 'y'));
}

TEST_F(ToolkitControls, CheckStatesFollowTheStateImage)
{
    Window listView;
    ASSERT_TRUE(makeListView(listView));
    ASSERT_TRUE(insertColumn(listView, LVCFMT_LEFT, 100, "title", -1));
    ASSERT_TRUE(insertItem(listView, "a", -1));
    ASSERT_TRUE(insertItem(listView, "b", -1));
    setItemChecked(listView, 0, true);
    setItemChecked(listView, 1, false);
    EXPECT_TRUE(isItemChecked(listView, 0));
    EXPECT_FALSE(isItemChecked(listView, 1));
    setItemChecked(listView, 0, false);
    EXPECT_FALSE(isItemChecked(listView, 0));
    EXPECT_FALSE(isItemChecked(listView, 2));
    EXPECT_FALSE(isItemChecked(listView, -5));
}

TEST_F(ToolkitControls, DeleteAllEmptiesTheListAndStopsOnAnEmptyOne)
{
    Window listView;
    ASSERT_TRUE(makeListView(listView));
    deleteAllItems(listView);
    EXPECT_EQ(itemCount(listView), 0);
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(insertItem(listView, "row", -1));
    EXPECT_TRUE(deleteItem(listView, 4));
    EXPECT_FALSE(deleteItem(listView, 4));
    deleteAllItems(listView);
    EXPECT_EQ(itemCount(listView), 0);
}

TEST_F(ToolkitControls, StatusTextShowsInSimpleMode)
{
    Window statusBar;
    ASSERT_TRUE(createStatusBar(statusBar, 0, 0, parent.handle(), 1049));
    setSimpleMode(statusBar, true);
    EXPECT_TRUE(setStatusText(statusBar, "合計 1.00MB", 0));
    char text[64] = {};
    statusBar.send(SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "合計 1.00MB");
}

TEST_F(ToolkitControls, StaticShowsTheIconItIsGiven)
{
    Window iconLabel;
    ASSERT_TRUE(createStatic(iconLabel, 0, "", SS_ICON, 8, 8, 16, 16, parent.handle(), 1036));
    const HICON icon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));
    setIcon(iconLabel, icon);
    EXPECT_EQ(reinterpret_cast<HICON>(iconLabel.send(STM_GETICON, 0, 0)), icon);
}

} // namespace
