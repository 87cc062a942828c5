#include "toolkit/message_pump.h"
#include "toolkit_timer_script.h"
#include "windows/version_window.h"
#include "windows/version_window_ids.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr LPCSTR versionClass = "morlo_version";

bool classRegistered(LPCSTR name)
{
    WNDCLASSEXA description{};
    description.cbSize = sizeof description;
    return GetClassInfoExA(GetModuleHandleA(nullptr), name, &description);
}

std::string controlText(HWND window, int id)
{
    char text[64] = {};
    GetDlgItemTextA(window, id, text, sizeof text);
    return text;
}

class VersionWindowTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(makeOwner(owner, 200, 150, 400, 300)); }
    void TearDown() override
    {
        owner.destroy();
        drainMessages();
    }
    // Shows the window and lets the steps drive it; the showing must leave everything as before.
    void showExpectingTrue(std::vector<TimerScript::Step> steps)
    {
        TimerScript script(versionClass, std::move(steps));
        EXPECT_TRUE(VersionWindow::show(owner.handle()));
        EXPECT_TRUE(script.finished());
        EXPECT_EQ(findWindow(versionClass), nullptr);
        EXPECT_TRUE(IsWindowEnabled(owner.handle()));
        EXPECT_FALSE(classRegistered(versionClass));
    }

    Window owner;
};

} // namespace

TEST_F(VersionWindowTest, ShowsIconVersionAndOkCentredOverItsDisabledOwner)
{
    showExpectingTrue({
        [this] {
            const HWND window = findWindow(versionClass);
            ASSERT_NE(window, nullptr);
            EXPECT_FALSE(IsWindowEnabled(owner.handle()));
            EXPECT_EQ(GetWindow(window, GW_OWNER), owner.handle());
            char title[64] = {};
            GetWindowTextA(window, title, sizeof title);
            EXPECT_STREQ(title, "バージョン情報");
            RECT client;
            GetClientRect(window, &client);
            EXPECT_EQ(client.right, 112);
            EXPECT_EQ(client.bottom, 46);
            RECT outer;
            RECT ownerRect;
            GetWindowRect(window, &outer);
            GetWindowRect(owner.handle(), &ownerRect);
            const int ownerWidth = ownerRect.right - ownerRect.left;
            const int ownerHeight = ownerRect.bottom - ownerRect.top;
            EXPECT_EQ(outer.left, ownerRect.left + (ownerWidth - (outer.right - outer.left)) / 2);
            EXPECT_EQ(outer.top, ownerRect.top + (ownerHeight - (outer.bottom - outer.top)) / 2);
            EXPECT_EQ(controlText(window, versionTextId), "morlo ver.1.01");
            EXPECT_EQ(controlText(window, versionOkButtonId), "OK");
            EXPECT_NE(SendDlgItemMessageA(window, versionIconId, STM_GETICON, 0, 0), 0);
            EXPECT_NE(GetClassLongPtrA(window, GCLP_HICON), 0);
            // The system menu begins with Move and Close; sizing entries are gone.
            const HMENU systemMenu = GetSystemMenu(window, FALSE);
            EXPECT_EQ(GetMenuItemID(systemMenu, 0), UINT(SC_MOVE));
            EXPECT_EQ(GetMenuItemID(systemMenu, 1), UINT(SC_CLOSE));
            for (UINT command : {SC_MAXIMIZE, SC_MINIMIZE, SC_SIZE, SC_RESTORE})
                EXPECT_EQ(GetMenuState(systemMenu, command, MF_BYCOMMAND), UINT(-1)) << command;
        },
        [] { postCommand(findWindow(versionClass), versionOkButtonId); },
    });
}

TEST_F(VersionWindowTest, ShowsTwiceInARowClosedByCloseBoxThenByOk)
{
    showExpectingTrue({[] { PostMessageA(findWindow(versionClass), WM_SYSCOMMAND, SC_CLOSE, 0); }});
    showExpectingTrue({[] { postCommand(findWindow(versionClass), versionOkButtonId); }});
}

TEST_F(VersionWindowTest, EnterAndEscapeDoNotCloseIt)
{
    showExpectingTrue({
        [] {
            const HWND window = findWindow(versionClass);
            for (HWND target : {window, GetDlgItem(window, versionOkButtonId)}) {
                for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
                    PostMessageA(target, WM_KEYDOWN, key, 0);
                    PostMessageA(target, WM_KEYUP, key, 0xC0000000);
                }
            }
        },
        [] { EXPECT_NE(findWindow(versionClass), nullptr); },
        [] { postCommand(findWindow(versionClass), versionOkButtonId); },
    });
}

TEST_F(VersionWindowTest, RefusesASecondWindowAndKeepsTheFirstOpen)
{
    showExpectingTrue({
        [this] {
            EXPECT_FALSE(VersionWindow::show(owner.handle()));
            const HWND second = CreateWindowExA(0, versionClass, "second", WS_POPUP, 0, 0, 10, 10, owner.handle(),
                                                nullptr, GetModuleHandleA(nullptr), nullptr);
            EXPECT_EQ(second, nullptr);
            // Windows destroys a refused window with the usual WM_DESTROY; it must not end the open one.
            const HWND first = findWindow(versionClass);
            const auto procedure = reinterpret_cast<WNDPROC>(GetClassLongPtrA(first, GCLP_WNDPROC));
            CallWindowProcA(procedure, owner.handle(), WM_DESTROY, 0, 0);
        },
        [this] {
            EXPECT_NE(findWindow(versionClass), nullptr);
            EXPECT_FALSE(IsWindowEnabled(owner.handle()));
        },
        [] { postCommand(findWindow(versionClass), versionOkButtonId); },
    });
}

TEST_F(VersionWindowTest, CentresOverASmallerOwnerWithNegativeOffsets)
{
    Window small;
    ASSERT_TRUE(makeOwner(small, 20, 20, 60, 30));
    TimerScript script(versionClass, {
        [&small] {
            RECT outer;
            RECT ownerRect;
            GetWindowRect(findWindow(versionClass), &outer);
            GetWindowRect(small.handle(), &ownerRect);
            const int width = outer.right - outer.left;
            const int height = outer.bottom - outer.top;
            EXPECT_LT(outer.left, ownerRect.left);
            EXPECT_EQ(outer.left, ownerRect.left + (ownerRect.right - ownerRect.left - width) / 2);
            EXPECT_EQ(outer.top, ownerRect.top + (ownerRect.bottom - ownerRect.top - height) / 2);
        },
        [] { postCommand(findWindow(versionClass), versionOkButtonId); },
    });
    EXPECT_TRUE(VersionWindow::show(small.handle()));
    EXPECT_TRUE(IsWindowEnabled(small.handle()));
}
