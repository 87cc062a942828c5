#pragma once
// The version window (class morlo_version): the icon, the version text and "OK".
#include <windows.h>

class VersionWindow {
public:
    // True after the window was shown and closed; false when it could not be made.
    static bool show(HWND owner);
};
