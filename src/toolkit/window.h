#pragma once
// The single owner of one window. Whether it is empty is decided by the system (IsWindow), so a
// window the user closed, or that went with its parent, counts as gone.
#include <windows.h>

class Window {
public:
    Window() = default;
    ~Window() { destroy(); }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // CreateWindowExW with the class name and the Shift-JIS title as UTF-16 (a class atom passes
    // unchanged) and the other arguments as they are; refuses while the held window is alive.
    bool create(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width, int height,
                HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID parameter);
    // Destroys a live window; false only when DestroyWindow failed.
    bool destroy();
    // The window, or null when it no longer exists.
    HWND handle() const;
    // SendMessageW to the held handle, without testing it.
    LRESULT send(UINT message, WPARAM wParam, LPARAM lParam) const;

private:
    HWND window_ = nullptr;
};
