#include "main_window_driver.h"
#include "mainwindow/context_menu_point.h"
#include "support/test_files.h"
#include "toolkit_timer_script.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <tuple>

TEST(ContextMenu, OpensWhereTheMouseWasOrAtTheFocusedRowFromTheKeyboard)
{
    const RECT client = {100, 50, 400, 300};
    const ListArea focused = {client, true, {90, 120, 420, 137}};
    const LPARAM keyboard = MAKELPARAM(-1, -1);
    const std::tuple<LPARAM, ListArea, POINT> cases[] = {
        {MAKELPARAM(640, 480), focused, {640, 480}},
        {MAKELPARAM(-1280, -200), focused, {-1280, -200}},
        {MAKELPARAM(-1, 300), focused, {-1, 300}},
        {keyboard, focused, {100, 121}},
        {-1, focused, {100, 121}},
        {keyboard, {client, false, {}}, {100, 50}},
        {keyboard, {client, true, {100, 10, 400, 27}}, {100, 50}},
        {keyboard, {client, true, {100, 310, 400, 327}}, {100, 299}},
    };
    for (const auto& [lParam, list, expected] : cases) {
        const POINT point = contextMenuPoint(lParam, list);
        EXPECT_EQ(std::make_pair(point.x, point.y), std::make_pair(expected.x, expected.y)) << std::hex << lParam;
    }
}

TEST(ContextMenu, ShiftF10OrTheMenuKeyOpensTheMenuOverTheFocusedRow)
{
    for (const std::vector<BYTE>& keys : {std::vector<BYTE>{VK_SHIFT, VK_F10}, std::vector<BYTE>{VK_APPS}}) {
        MainWindow mainWindow;
        runMainWindow(mainWindow, [&](HWND window) {
            dropFiles(window, {fixturePath("main_window_three.mrl")});
            HWND list = mainWindow.listView()->handle();
            LVITEMA focus = {};
            focus.state = focus.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
            SendMessageA(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&focus));
            SetForegroundWindow(window);
            SetFocus(list);
            RECT menu = {};
            TimerScript script("#32768", {[&] {
                GetWindowRect(findWindow("#32768"), &menu);
                EndMenu();
            }});
            for (const BYTE key : keys)
                keybd_event(key, 0, 0, 0);
            for (auto key = keys.rbegin(); key != keys.rend(); ++key)
                keybd_event(*key, 0, KEYEVENTF_KEYUP, 0);
            MSG message;
            for (const DWORD end = GetTickCount() + 5000; !script.finished() && GetTickCount() < end; Sleep(1)) {
                while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
                    DispatchMessageA(&message);
            }
            RECT row = {LVIR_BOUNDS, 0, 0, 0};
            SendMessageA(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
            MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&row), 2);
            EXPECT_TRUE(PtInRect(&row, {menu.left, menu.top})) << keys.size() << " key(s): menu at " << menu.left
                                                                 << "," << menu.top << ", row at " << row.top;
        });
    }
}
