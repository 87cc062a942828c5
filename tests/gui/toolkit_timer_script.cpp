#include "toolkit_timer_script.h"

#include <utility>

namespace {

TimerScript* running = nullptr;

} // namespace

TimerScript::TimerScript(LPCSTR className, std::vector<Step> steps) : className_(className), steps_(std::move(steps))
{
    running = this;
    timer_ = SetTimer(nullptr, 0, 50, tick);
}

TimerScript::~TimerScript()
{
    KillTimer(nullptr, timer_);
    running = nullptr;
}

void CALLBACK TimerScript::tick(HWND, UINT, UINT_PTR, DWORD)
{
    // Counted first: a step may pump messages and so reach the next tick.
    if (!running->finished())
        running->steps_[running->next_++]();
    else if (const HWND browser = findBrowser())
        postCommand(browser, IDCANCEL);
    else if (const HWND window = findWindow(running->className_))
        PostMessageA(window, WM_CLOSE, 0, 0);
}

HWND findWindow(LPCSTR className)
{
    // Only this thread's windows: other test programs may share the window station.
    HWND window = FindWindowExA(nullptr, nullptr, className, nullptr);
    while (window && GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId())
        window = FindWindowExA(nullptr, window, className, nullptr);
    return window;
}

HWND findBrowser() { return findWindow("#32770"); }

void postCommand(HWND window, int id) { PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(id), 0); }

bool makeOwner(Window& owner, int x, int y, int width, int height)
{
    return owner.create(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, width, height, nullptr, nullptr,
                        GetModuleHandleA(nullptr), nullptr);
}
