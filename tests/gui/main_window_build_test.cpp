#include "main_window_driver.h"
#include "mainwindow/main_menu.h"
#include "mainwindow/main_window_ids.h"
#include "support/test_files.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <map>

namespace {

struct MenuEntry {
    UINT id;
    std::string text;
    UINT type;
    HMENU submenu;
};

MenuEntry menuEntry(HMENU menu, int position)
{
    char text[256] = {};
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_TYPE | MIIM_SUBMENU;
    item.dwTypeData = text;
    item.cch = sizeof text;
    GetMenuItemInfoA(menu, position, TRUE, &item);
    return {item.wID, text, item.fType, item.hSubMenu};
}

void expectRect(HWND child, int x, int y, int width, int height)
{
    const RECT rect = childRect(child);
    EXPECT_EQ(rect.left, x);
    EXPECT_EQ(rect.top, y);
    EXPECT_EQ(rect.right - rect.left, width);
    EXPECT_EQ(rect.bottom - rect.top, height);
}

bool hasStyle(HWND window, LONG style)
{
    return (GetWindowLongA(window, GWL_STYLE) & style) == style;
}

bool hasClientEdge(HWND window)
{
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0;
}

// The list runs from 20 pixels below the top of the client area to the top of the status bar.
void expectListFillsClientArea(HWND window)
{
    RECT client = {};
    GetClientRect(window, &client);
    const RECT status = childRect(GetDlgItem(window, statusBarId));
    expectRect(GetDlgItem(window, musicListId), 0, 20, client.right, status.top - 20);
    EXPECT_EQ(status.bottom, client.bottom);
}

// The arrows take the right end of the field's 48 pixels.
void expectFieldWithArrows(HWND window, int fieldId, int arrowsId, int x)
{
    const RECT field = childRect(GetDlgItem(window, fieldId));
    const RECT arrows = childRect(GetDlgItem(window, arrowsId));
    EXPECT_EQ(field.left, x);
    EXPECT_EQ(field.top, 0);
    EXPECT_EQ(field.bottom, 20);
    EXPECT_GT(arrows.left, x);
    EXPECT_LE(arrows.right, x + 48);
    EXPECT_GE(arrows.left, field.right - 2);
}

void expectTopRowInPlace(HWND window)
{
    expectRect(GetDlgItem(window, albumLabelId), 0, 0, 160, 20);
    expectRect(GetDlgItem(window, loopCountLabelId), 162, 4, 54, 16);
    expectRect(GetDlgItem(window, fadeSecondsLabelId), 266, 4, 58, 16);
    expectFieldWithArrows(window, loopCountFieldId, loopCountArrowsId, 216);
    expectFieldWithArrows(window, fadeSecondsFieldId, fadeSecondsArrowsId, 326);
}

} // namespace

TEST(MainMenu, BuildsFileEditAndHelpMenusWithTheirIds)
{
    HWND window = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    MenuBuilder menu;
    ASSERT_TRUE(buildMainMenu(menu, window));

    const std::map<std::uint16_t, std::uint32_t> popups = {{0, 0}, {1038, 1}, {1043, 2}, {1047, 3}};
    const std::map<std::uint16_t, std::uint32_t> items = {{1038, 0}, {1039, 1}, {1040, 1}, {1041, 1},
                                                          {1042, 1}, {1043, 0}, {1044, 2}, {1045, 2},
                                                          {1046, 2}, {1047, 0}, {1048, 3}};
    EXPECT_EQ(menu.popupIndex(), popups);
    EXPECT_EQ(menu.itemIndex(), items);

    HMENU bar = GetMenu(window);
    ASSERT_EQ(GetMenuItemCount(bar), 3);
    const MenuEntry file = menuEntry(bar, 0);
    const MenuEntry edit = menuEntry(bar, 1);
    const MenuEntry help = menuEntry(bar, 2);
    EXPECT_EQ(file.text, "ファイル(&F)");
    EXPECT_EQ(edit.text, "編集(&E)");
    EXPECT_EQ(help.text, "ヘルプ(&H)");

    ASSERT_EQ(GetMenuItemCount(file.submenu), 4);
    EXPECT_EQ(menuEntry(file.submenu, 0).text, "定義ファイルを開く(&O)");
    EXPECT_EQ(menuEntry(file.submenu, 0).id, 1039u);
    EXPECT_EQ(menuEntry(file.submenu, 1).text, "WAVE出力(&S)");
    EXPECT_EQ(menuEntry(file.submenu, 1).id, 1040u);
    EXPECT_EQ(menuEntry(file.submenu, 2).type & MFT_SEPARATOR, static_cast<UINT>(MFT_SEPARATOR));
    EXPECT_EQ(menuEntry(file.submenu, 2).id, 1041u);
    EXPECT_EQ(menuEntry(file.submenu, 3).text, "終了(&X)");
    EXPECT_EQ(menuEntry(file.submenu, 3).id, 1042u);

    ASSERT_EQ(GetMenuItemCount(edit.submenu), 3);
    EXPECT_EQ(menuEntry(edit.submenu, 0).text, "全て選択(&A)");
    EXPECT_EQ(menuEntry(edit.submenu, 1).text, "全て解除(&U)");
    EXPECT_EQ(menuEntry(edit.submenu, 2).text, "選択反転(&R)");
    EXPECT_EQ(menuEntry(edit.submenu, 2).id, 1046u);

    ASSERT_EQ(GetMenuItemCount(help.submenu), 1);
    EXPECT_EQ(menuEntry(help.submenu, 0).text, "バージョン情報(&A)");
    EXPECT_EQ(menuEntry(help.submenu, 0).id, 1048u);
    DestroyWindow(window);
}

TEST(MainWindow, ShowsEmptyWindowWithItsControlsInPlace)
{
    MainWindow mainWindow;
    const bool ran = runMainWindow(mainWindow, [&](HWND window) {
        RECT client = {};
        GetClientRect(window, &client);
        EXPECT_EQ(client.right, 412);
        EXPECT_EQ(client.bottom, 280);
        EXPECT_EQ(windowText(window), "morlo");
        EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
        EXPECT_TRUE(hasStyle(window, WS_OVERLAPPEDWINDOW));

        ASSERT_NE(mainWindow.listView(), nullptr);
        ASSERT_NE(mainWindow.statusBar(), nullptr);
        ASSERT_NE(mainWindow.albumLabel(), nullptr);
        EXPECT_EQ(mainWindow.listView()->handle(), GetDlgItem(window, 1050));
        EXPECT_EQ(mainWindow.statusBar()->handle(), GetDlgItem(window, 1049));
        EXPECT_EQ(mainWindow.albumLabel()->handle(), GetDlgItem(window, 1051));

        expectTopRowInPlace(window);
        expectListFillsClientArea(window);

        HWND label = GetDlgItem(window, albumLabelId);
        EXPECT_TRUE(hasClientEdge(label));
        EXPECT_EQ(GetWindowLongA(label, GWL_STYLE) & SS_TYPEMASK, SS_SIMPLE);
        EXPECT_EQ(windowText(label), "");
        EXPECT_EQ(windowText(GetDlgItem(window, loopCountLabelId)), "ループ回数");
        EXPECT_EQ(windowText(GetDlgItem(window, fadeSecondsLabelId)), "フェード秒数");

        for (int field : {loopCountFieldId, fadeSecondsFieldId}) {
            EXPECT_TRUE(hasStyle(GetDlgItem(window, field), ES_NUMBER | ES_RIGHT));
            EXPECT_TRUE(hasClientEdge(GetDlgItem(window, field)));
        }
        EXPECT_EQ(windowText(GetDlgItem(window, loopCountFieldId)), "2");
        EXPECT_EQ(windowText(GetDlgItem(window, fadeSecondsFieldId)), "10");
        EXPECT_EQ(MainWindow::loopCount(window), 2);
        EXPECT_EQ(MainWindow::fadeSeconds(window), 10);

        for (int arrows : {loopCountArrowsId, fadeSecondsArrowsId}) {
            int lowest = -1;
            int highest = -1;
            SendMessageA(GetDlgItem(window, arrows), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lowest),
                         reinterpret_cast<LPARAM>(&highest));
            EXPECT_EQ(lowest, 0);
            EXPECT_EQ(highest, 999);
            EXPECT_TRUE(hasStyle(GetDlgItem(window, arrows), UDS_SETBUDDYINT | UDS_NOTHOUSANDS | UDS_ARROWKEYS));
        }

        HWND list = GetDlgItem(window, musicListId);
        EXPECT_EQ(GetWindowLongA(list, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
        EXPECT_TRUE(hasClientEdge(list));
        EXPECT_EQ(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & 0x25, 0x25);
        EXPECT_EQ(rowCount(list), 0);
        EXPECT_TRUE(SendMessageA(GetDlgItem(window, statusBarId), SB_ISSIMPLE, 0, 0));
    });
    EXPECT_TRUE(ran);
    EXPECT_EQ(mainWindow.listView(), nullptr);
    EXPECT_EQ(FindWindowA("morlo_main", nullptr), nullptr);
}

TEST(MainWindow, KeepsTopRowAndFillsListAfterResizing)
{
    MainWindow mainWindow;
    runMainWindow(mainWindow, [&](HWND window) {
        for (SIZE client : {SIZE{120, 150}, SIZE{640, 400}}) {
            RECT outer = {0, 0, client.cx, client.cy};
            AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, TRUE, 0);
            SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                         SWP_NOMOVE | SWP_NOZORDER);
            expectTopRowInPlace(window);
            expectListFillsClientArea(window);
        }
    });
}

TEST(MainWindow, ExitCommandEndsTheRun)
{
    MainWindow mainWindow;
    bool closed = false;
    const bool ran = runMainWindow(mainWindow, [&](HWND window) {
        sendCommand(window, exitCommand);
        closed = !IsWindow(window);
    });
    EXPECT_TRUE(closed);
    EXPECT_TRUE(ran);
}

TEST(MainWindow, RefusesSecondMainWindowAndKeepsServingTheFirst)
{
    MainWindow mainWindow;
    runMainWindow(mainWindow, [&](HWND window) {
        MainWindow second;
        HWND refused = CreateWindowExA(0, "morlo_main", "second", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr,
                                       nullptr, GetModuleHandleA(nullptr), &second);
        EXPECT_EQ(refused, nullptr);
        MSG quit;
        EXPECT_FALSE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));

        dropFiles(window, {fixturePath("main_window_example.mrl")});
        EXPECT_EQ(windowText(window), "morlo - 例のアルバム");
        EXPECT_TRUE(second.definition().entries().empty());
    });
}

TEST(MainWindow, IgnoresMessagesBeforeItsControlsAreRegistered)
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = mainWindowProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "morlo_main_unbuilt";
    ASSERT_NE(RegisterClassExA(&windowClass), 0);
    MainWindow mainWindow;
    HWND window = CreateWindowExA(0, "morlo_main_unbuilt", "morlo", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                                  nullptr, instance, &mainWindow);
    ASSERT_NE(window, nullptr);

    SendMessageA(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(loopCountFieldId, EN_CHANGE), 0);
    sendCommand(window, invertTicksCommand);
    NMLISTVIEW change = {};
    change.hdr.code = LVN_ITEMCHANGED;
    change.uChanged = LVIF_STATE;
    SendMessageA(window, WM_NOTIFY, musicListId, reinterpret_cast<LPARAM>(&change));
    dropFiles(window, {fixturePath("main_window_example.mrl")});
    EXPECT_EQ(windowText(window), "morlo");
    EXPECT_EQ(mainWindow.definition().entries().size(), 1u);

    DestroyWindow(window);
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    UnregisterClassA("morlo_main_unbuilt", instance);
}
