#include "toolkit/window_class.h"

bool WindowClass::registerClass(HINSTANCE instance, LPCSTR name, WNDPROC procedure, HICON icon, HBRUSH background)
{
    WNDCLASSEXA description{};
    description.cbSize = sizeof description;
    description.lpfnWndProc = procedure;
    description.hInstance = instance;
    description.hIcon = icon;
    description.hIconSm = icon;
    description.hbrBackground = background;
    description.lpszClassName = name;
    const ATOM atom = RegisterClassExA(&description);
    if (atom == 0)
        return false;
    if (!unregisterClass()) {
        UnregisterClassA(name, instance);
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
    if (!UnregisterClassA(MAKEINTATOM(atom_), instance_))
        return false;
    atom_ = 0;
    return true;
}
