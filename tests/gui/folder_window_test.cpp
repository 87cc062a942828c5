#include "toolkit/message_pump.h"
#include "toolkit_timer_script.h"
#include "windows/folder_window.h"
#include "windows/folder_window_ids.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr LPCSTR folderClass = "morlo_selectdir";

HWND settingsWindow() { return findWindow(folderClass); }

std::string fieldText(int id)
{
    char text[MAX_PATH] = {};
    GetDlgItemTextA(settingsWindow(), id, text, sizeof text);
    return text;
}

void press(int id) { postCommand(settingsWindow(), id); }

class FolderWindowTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(makeOwner(owner, 100, 100, 500, 400)); }
    void TearDown() override
    {
        owner.destroy();
        drainMessages();
    }
    bool show(FolderWindow& folders, std::vector<TimerScript::Step> steps)
    {
        TimerScript script(folderClass, std::move(steps));
        const bool confirmed = folders.show(owner.handle());
        EXPECT_TRUE(script.finished());
        EXPECT_EQ(settingsWindow(), nullptr);
        EXPECT_TRUE(IsWindowEnabled(owner.handle()));
        return confirmed;
    }

    Window owner;
};

} // namespace

TEST_F(FolderWindowTest, ConvertAtOnceHandsBackCDriveTwice)
{
    FolderWindow folders;
    EXPECT_TRUE(show(folders, {
        [this] {
            const HWND window = settingsWindow();
            ASSERT_NE(window, nullptr);
            EXPECT_FALSE(IsWindowEnabled(owner.handle()));
            RECT client;
            GetClientRect(window, &client);
            EXPECT_EQ(client.right, 320);
            EXPECT_EQ(client.bottom, 128);
            EXPECT_EQ(fieldText(bgmFieldId), "C:\\");
            EXPECT_EQ(fieldText(outputFieldId), "C:\\");
            EXPECT_EQ(fieldText(convertButtonId), "変換");
            EXPECT_EQ(fieldText(cancelButtonId), "キャンセル");
        },
        [] { press(convertButtonId); },
    }));
    EXPECT_EQ(folders.bgmFolder(), "C:\\");
    EXPECT_EQ(folders.outputFolder(), "C:\\");
}

TEST_F(FolderWindowTest, HandsBackTheFieldsAsTheyStandAndStartsAfreshNextTime)
{
    FolderWindow first;
    EXPECT_TRUE(show(first, {
        [] {
            SetDlgItemTextA(settingsWindow(), bgmFieldId, "");
            SetDlgItemTextA(settingsWindow(), outputFieldId, " D:\\出力\\ ");
        },
        [] { press(convertButtonId); },
    }));
    EXPECT_EQ(first.bgmFolder(), "");
    EXPECT_EQ(first.outputFolder(), " D:\\出力\\ ");

    FolderWindow second;
    EXPECT_TRUE(show(second, {[] { press(convertButtonId); }}));
    EXPECT_EQ(second.bgmFolder(), "C:\\");
    EXPECT_EQ(second.outputFolder(), "C:\\");
}

TEST_F(FolderWindowTest, CancelAndCloseBoxReturnFalse)
{
    FolderWindow cancelled;
    EXPECT_FALSE(show(cancelled, {[] { press(cancelButtonId); }}));
    EXPECT_EQ(cancelled.bgmFolder(), "");

    FolderWindow closed;
    EXPECT_FALSE(show(closed, {[] { PostMessageA(settingsWindow(), WM_SYSCOMMAND, SC_CLOSE, 0); }}));
    EXPECT_EQ(closed.outputFolder(), "");
}

TEST_F(FolderWindowTest, BrowserChoiceFillsItsField)
{
    FolderWindow folders;
    EXPECT_TRUE(show(folders, {
        [] { press(bgmBrowseButtonId); },
        [] {
            const HWND browser = findBrowser();
            ASSERT_NE(browser, nullptr);
            SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>("C:\\windows"));
        },
        [] { postCommand(findBrowser(), IDOK); },
        [] { EXPECT_EQ(findBrowser(), nullptr); },
        [] { press(convertButtonId); },
    }));
    EXPECT_STRCASEEQ(folders.bgmFolder().c_str(), "C:\\windows");
    EXPECT_EQ(folders.outputFolder(), "C:\\");
}

TEST_F(FolderWindowTest, CancelledBrowserKeepsTypedText)
{
    FolderWindow folders;
    EXPECT_TRUE(show(folders, {
        [] { SetDlgItemTextA(settingsWindow(), outputFieldId, "typed"); },
        [] { press(outputBrowseButtonId); },
        [] {
            ASSERT_NE(findBrowser(), nullptr);
            postCommand(findBrowser(), IDCANCEL);
        },
        [] { press(convertButtonId); },
    }));
    EXPECT_EQ(folders.outputFolder(), "typed");
}

TEST_F(FolderWindowTest, RefusesASecondWindowAndKeepsTheFirstOpen)
{
    FolderWindow folders;
    EXPECT_FALSE(show(folders, {
        [this] {
            FolderWindow other;
            EXPECT_FALSE(other.show(owner.handle()));
            const HWND second = CreateWindowExA(0, folderClass, "second", WS_POPUP, 0, 0, 10, 10, owner.handle(),
                                                nullptr, GetModuleHandleA(nullptr), nullptr);
            EXPECT_EQ(second, nullptr);
            // Windows destroys a refused window with the usual WM_DESTROY; it must not end the open one.
            const HWND first = findWindow(folderClass);
            const auto procedure = reinterpret_cast<WNDPROC>(GetClassLongPtrA(first, GCLP_WNDPROC));
            CallWindowProcA(procedure, owner.handle(), WM_DESTROY, 0, 0);
        },
        [this] {
            EXPECT_NE(settingsWindow(), nullptr);
            EXPECT_FALSE(IsWindowEnabled(owner.handle()));
        },
        [] { press(cancelButtonId); },
    }));
}

TEST_F(FolderWindowTest, OwnerIsEnabledAgainWhenTheWindowGoesWithoutClosing)
{
    FolderWindow folders;
    EXPECT_FALSE(show(folders, {[] { DestroyWindow(settingsWindow()); }}));
}
