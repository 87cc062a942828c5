#include "toolkit/window_class.h"

#include "platform/win32/wide_text.h"

bool WindowClass::registerClass(HINSTANCE instance, LPCSTR name, WNDPROC procedure, HICON icon, HBRUSH background)
{
    const std::wstring wideName = wideFromShiftJis(name);
    WNDCLASSEXW description{};
    description.cbSize = sizeof description;
    description.lpfnWndProc = procedure;
    description.hInstance = instance;
    description.hIcon = icon;
    description.hIconSm = icon;
    description.hbrBackground = background;
    description.lpszClassName = wideName.c_str();
    const ATOM atom = RegisterClassExW(&description);
    if (atom == 0)
        return false;
    if (!unregisterClass()) {
        UnregisterClassW(wideName.c_str(), instance);
        return false;
    }
    atom_ = atom;
    instance_ = instance;
    return true;
}

bool WindowClass::unregisterClass()
{
    if (atom_ == 0)
        return true;
    if (!UnregisterClassW(reinterpret_cast<LPCWSTR>(name()), instance_))
        return false;
    atom_ = 0;
    return true;
}
