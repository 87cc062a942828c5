#include "toolkit/font.h"
#include "toolkit/message_pump.h"
#include "toolkit/window.h"
#include "toolkit/window_class.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT probeMessage = WM_APP + 1;
int probesSeen = 0;
volatile int finished = 0;

LRESULT CALLBACK probeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case probeMessage:
        ++probesSeen;
        return 0;
    case WM_TIMER:
        KillTimer(window, wParam);
        finished = 1;
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

HINSTANCE processInstance() { return GetModuleHandleA(nullptr); }

bool createPopup(Window& window, LPCSTR className = "STATIC")
{
    return window.create(0, className, "probe", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, processInstance(), nullptr);
}

void emptyQueue()
{
    while (pumpMessage() != pumpEmpty) {
    }
}

class ProbeWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(windowClass.registerClass(processInstance(), "morlo_probe", probeProcedure, nullptr, nullptr));
        ASSERT_TRUE(createPopup(window, windowClass.name()));
        emptyQueue();
        probesSeen = 0;
        finished = 0;
    }
    void TearDown() override
    {
        window.destroy();
        emptyQueue();
    }

    WindowClass windowClass;
    Window window;
};

} // namespace

TEST(WindowOwner, RefusesSecondWindowWhileTheFirstIsAlive)
{
    Window window;
    ASSERT_TRUE(createPopup(window));
    const HWND first = window.handle();
    EXPECT_FALSE(createPopup(window));
    EXPECT_EQ(window.handle(), first);
    EXPECT_TRUE(window.destroy());
    EXPECT_EQ(window.handle(), nullptr);
}

TEST(WindowOwner, TreatsAWindowClosedBehindItsBackAsGone)
{
    Window window;
    ASSERT_TRUE(createPopup(window));
    ASSERT_TRUE(DestroyWindow(window.handle()));
    EXPECT_EQ(window.handle(), nullptr);
    EXPECT_TRUE(window.destroy());
    EXPECT_TRUE(createPopup(window));
    EXPECT_NE(window.handle(), nullptr);
}

TEST(WindowOwner, DestroyOfEmptyWindowSucceeds)
{
    Window window;
    EXPECT_TRUE(window.destroy());
    EXPECT_EQ(window.handle(), nullptr);
}

TEST(WindowOwner, ChildGoesWithItsParent)
{
    Window parent;
    Window child;
    ASSERT_TRUE(createPopup(parent));
    ASSERT_TRUE(child.create(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, parent.handle(), nullptr, processInstance(),
                             nullptr));
    EXPECT_TRUE(parent.destroy());
    EXPECT_EQ(child.handle(), nullptr);
}

TEST(WindowClassOwner, RefusesANameThatIsAlreadyRegistered)
{
    WindowClass first;
    WindowClass second;
    ASSERT_TRUE(first.registerClass(processInstance(), "morlo_twice", DefWindowProcA, nullptr, nullptr));
    EXPECT_FALSE(second.registerClass(processInstance(), "morlo_twice", DefWindowProcA, nullptr, nullptr));
    EXPECT_TRUE(first.unregisterClass());
    EXPECT_TRUE(second.registerClass(processInstance(), "morlo_twice", DefWindowProcA, nullptr, nullptr));
}

TEST(WindowClassOwner, ReplacingTheClassUnregistersTheOldOne)
{
    WindowClass windowClass;
    ASSERT_TRUE(windowClass.registerClass(processInstance(), "morlo_old", DefWindowProcA, nullptr, nullptr));
    ASSERT_TRUE(windowClass.registerClass(processInstance(), "morlo_new", DefWindowProcA, nullptr, nullptr));
    WNDCLASSEXA description{};
    description.cbSize = sizeof description;
    EXPECT_FALSE(GetClassInfoExA(processInstance(), "morlo_old", &description));
    EXPECT_TRUE(GetClassInfoExA(processInstance(), "morlo_new", &description));
    EXPECT_TRUE(windowClass.unregisterClass());
    EXPECT_FALSE(GetClassInfoExA(processInstance(), "morlo_new", &description));
    EXPECT_TRUE(windowClass.unregisterClass());
}

TEST(WindowClassOwner, RegistersIconAndBrushAndNothingElse)
{
    WindowClass windowClass;
    const HICON icon = LoadIcon(nullptr, IDI_APPLICATION);
    const auto brush = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    ASSERT_TRUE(windowClass.registerClass(processInstance(), "morlo_fields", DefWindowProcA, icon, brush));
    WNDCLASSEXA description{};
    description.cbSize = sizeof description;
    ASSERT_TRUE(GetClassInfoExA(processInstance(), "morlo_fields", &description));
    EXPECT_EQ(description.hIcon, icon);
    EXPECT_EQ(description.hbrBackground, brush);
    EXPECT_EQ(description.style, 0u);
    EXPECT_EQ(description.hCursor, nullptr);
    EXPECT_EQ(description.cbWndExtra, 0);
}

TEST(FontOwner, RefusesSecondFontAndKeepsTheFirst)
{
    Font font;
    ASSERT_TRUE(createDefaultGuiFont(font));
    const HFONT first = font.handle();
    EXPECT_FALSE(createDefaultGuiFont(font));
    EXPECT_EQ(font.handle(), first);
    EXPECT_TRUE(font.destroy());
    EXPECT_EQ(font.handle(), nullptr);
    EXPECT_TRUE(font.destroy());
}

TEST(FontOwner, DefaultGuiFontHasCellHeightTwelve)
{
    Font font;
    ASSERT_TRUE(createDefaultGuiFont(font));
    LOGFONTA description{};
    ASSERT_NE(GetObjectA(font.handle(), sizeof description, &description), 0);
    EXPECT_EQ(description.lfHeight, 12);
}

TEST_F(ProbeWindow, PumpDispatchesOneMessageAtATime)
{
    PostMessageA(window.handle(), probeMessage, 0, 0);
    PostMessageA(window.handle(), probeMessage, 0, 0);
    EXPECT_EQ(pumpMessage(), pumpDispatched);
    EXPECT_EQ(probesSeen, 1);
    EXPECT_EQ(pumpMessage(), pumpDispatched);
    EXPECT_EQ(pumpMessage(), pumpEmpty);
    EXPECT_EQ(probesSeen, 2);
}

TEST_F(ProbeWindow, PumpReportsQuitWithoutDispatchingIt)
{
    PostQuitMessage(3);
    EXPECT_EQ(pumpMessage(), pumpQuit);
    EXPECT_EQ(pumpMessage(), pumpEmpty);
}

TEST_F(ProbeWindow, DrainStopsAtQuit)
{
    PostMessageA(window.handle(), probeMessage, 0, 0);
    PostQuitMessage(0);
    drainMessages();
    EXPECT_EQ(probesSeen, 1);
    EXPECT_EQ(pumpMessage(), pumpEmpty);
}

TEST_F(ProbeWindow, MainLoopRunsUntilQuit)
{
    PostMessageA(window.handle(), probeMessage, 0, 0);
    PostMessageA(window.handle(), probeMessage, 0, 0);
    PostQuitMessage(0);
    runMainLoop();
    EXPECT_EQ(probesSeen, 2);
}

TEST_F(ProbeWindow, ModalWaitSwallowsQuitAndEndsOnItsFlag)
{
    // The timer comes well after the quit message, so the wait must take the quit and go on.
    // Wine hands out a quit posted behind another message only some milliseconds later.
    PostMessageA(window.handle(), probeMessage, 0, 0);
    PostQuitMessage(0);
    SetTimer(window.handle(), 1, 100, nullptr);
    modalWait(finished);
    EXPECT_EQ(probesSeen, 1);
    EXPECT_EQ(pumpMessage(), pumpEmpty);
}
