#include "toolkit_timer_script.h"

#include <cstring>

namespace {

TimerScript* running = nullptr;

struct ClassSearch {
    LPCSTR className;
    HWND found;
};

BOOL CALLBACK matchClass(HWND window, LPARAM parameter)
{
    auto& search = *reinterpret_cast<ClassSearch*>(parameter);
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, search.className) != 0)
        return TRUE;
    search.found = window;
    return FALSE;
}

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
    if (running)
        running->runNext();
}

void TimerScript::runNext()
{
    if (next_ < steps_.size()) {
        // Counted first: a step may pump messages and so reach the next tick.
        steps_[next_++]();
        return;
    }
    if (const HWND browser = findBrowser())
        PostMessageA(browser, WM_COMMAND, IDCANCEL, 0);
    else if (const HWND window = findWindow(className_))
        PostMessageA(window, WM_CLOSE, 0, 0);
}

HWND findWindow(LPCSTR className)
{
    // Only this thread's windows: other test programs may share the window station.
    ClassSearch search{className, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), matchClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND findBrowser()
{
    return findWindow("#32770");
}

void postCommand(HWND window, int id)
{
    PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(id), 0);
}

bool makeOwner(Window& owner, int x, int y, int width, int height)
{
    return owner.create(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, width, height, nullptr, nullptr,
                        GetModuleHandleA(nullptr), nullptr);
}
