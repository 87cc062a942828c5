#include "toolkit/window.h"

bool Window::create(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width, int height,
                    HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID parameter)
{
    if (handle())
        return false;
    window_ = CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, menuOrId, instance,
                              parameter);
    return window_ != nullptr;
}

bool Window::destroy()
{
    if (!handle())
        return true;
    if (!DestroyWindow(window_))
        return false;
    window_ = nullptr;
    return true;
}

HWND Window::handle() const
{
    return window_ && IsWindow(window_) ? window_ : nullptr;
}

LRESULT Window::send(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return SendMessageA(window_, message, wParam, lParam);
}
