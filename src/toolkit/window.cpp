#include "toolkit/window.h"

#include "platform/win32/wide_text.h"

#include <string>

bool Window::create(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width, int height,
                    HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID parameter)
{
    if (handle())
        return false;
    const std::wstring wideClass = IS_INTRESOURCE(className) ? std::wstring() : wideFromShiftJis(className);
    const LPCWSTR classArgument = IS_INTRESOURCE(className) ? reinterpret_cast<LPCWSTR>(className) : wideClass.c_str();
    window_ = CreateWindowExW(exStyle, classArgument, wideFromShiftJis(title).c_str(), style, x, y, width, height,
                              parent, menuOrId, instance, parameter);
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
    return SendMessageW(window_, message, wParam, lParam);
}
