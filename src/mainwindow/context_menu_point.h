#pragma once
// Where the list's menu opens: where the mouse was, or at the focused row when the keyboard asked.
#include <windows.h>

// The list's client area and its focused row, both in screen coordinates.
struct ListArea {
    RECT client = {};
    bool hasFocusedRow = false;
    RECT focusedRow = {};
};

// The screen point for a WM_CONTEXTMENU's lParam. Its two coordinates are signed 16-bit numbers,
// negative on monitors left of or above the main one; (-1, -1) means the keyboard asked, and then
// the menu opens at the focused row's left edge just below its top, or at the client area's
// top-left corner when no row has the focus. A row scrolled out of sight still gets its menu
// inside the client area.
POINT contextMenuPoint(LPARAM lParam, const ListArea& list);
