#pragma once
// The single owner of one registered window class; destroying it unregisters the class.
#include <windows.h>

class WindowClass {
public:
    WindowClass() = default;
    ~WindowClass() { unregisterClass(); }
    WindowClass(const WindowClass&) = delete;
    WindowClass& operator=(const WindowClass&) = delete;

    // Registers name as a Unicode class (its procedure gets UTF-16 texts) with the one icon as large
    // and small icon and the background brush; no class styles, cursor, menu or extra bytes.
    // Unregisters the class held before.
    bool registerClass(HINSTANCE instance, LPCSTR name, WNDPROC procedure, HICON icon, HBRUSH background);
    // False only when UnregisterClassW failed.
    bool unregisterClass();
    // The class atom as a class name for Window::create.
    LPCSTR name() const { return MAKEINTATOM(atom_); }

private:
    ATOM atom_ = 0;
    HINSTANCE instance_ = nullptr;
};
