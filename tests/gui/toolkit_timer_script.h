#pragma once
// Drives a modal window from inside its wait: a thread timer runs one step per tick, then closes what is
// still open (a folder browser first, then the window of the class), so a failing test cannot hang.
#include "toolkit/window.h"

#include <functional>
#include <vector>

// This thread's top-level window of a class, or null: other programs may share the window station.
inline HWND findWindow(LPCSTR className)
{
    HWND window = FindWindowExA(nullptr, nullptr, className, nullptr);
    while (window && GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId())
        window = FindWindowExA(nullptr, window, className, nullptr);
    return window;
}

inline void postCommand(HWND window, int id) { PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(id), 0); }

class TimerScript {
public:
    using Step = std::function<void()>;
    TimerScript(LPCSTR className, std::vector<Step> steps)
        : className_(className), steps_(std::move(steps)), timer_(SetTimer(nullptr, 0, 50, tick))
    {
        running = this;
    }
    ~TimerScript() { KillTimer(nullptr, timer_); }
    TimerScript(const TimerScript&) = delete;
    TimerScript& operator=(const TimerScript&) = delete;

    bool finished() const { return next_ >= steps_.size(); }

private:
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD)
    {
        // Counted first: a step may pump messages and so reach the next tick.
        if (!running->finished())
            running->steps_[running->next_++]();
        else if (const HWND browser = findWindow("#32770"))
            postCommand(browser, IDCANCEL);
        else if (const HWND window = findWindow(running->className_))
            PostMessageA(window, WM_CLOSE, 0, 0);
    }

    static inline TimerScript* running = nullptr;
    LPCSTR className_;
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    UINT_PTR timer_;
};
