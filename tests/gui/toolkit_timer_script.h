#pragma once
// Drives a modal window from inside its own wait: a thread timer runs one step per tick. Once the
// steps are used up every tick closes what is still open (a folder browser first, then the window
// of the class), so a failing test cannot hang.
#include "toolkit/window.h"

#include <functional>
#include <vector>

class TimerScript {
public:
    using Step = std::function<void()>;
    TimerScript(LPCSTR className, std::vector<Step> steps);
    ~TimerScript();
    TimerScript(const TimerScript&) = delete;
    TimerScript& operator=(const TimerScript&) = delete;

    bool finished() const { return next_ >= steps_.size(); }

private:
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD);

    LPCSTR className_;
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    UINT_PTR timer_ = 0;
};

// This thread's top-level window of a class, or null.
HWND findWindow(LPCSTR className);
// The shell's folder browser while it is open, or null.
HWND findBrowser();
void postCommand(HWND window, int id);
// A visible top-level window to own the modal windows.
bool makeOwner(Window& owner, int x, int y, int width, int height);
