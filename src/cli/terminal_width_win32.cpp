#include "cli/terminal_width.h"

#include <windows.h>

namespace {

// The console tells no one of a new size; the window's width is compared at every look.
int seenColumns = 0;

int windowColumns()
{
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(GetStdHandle(STD_ERROR_HANDLE), &info))
        return 80;
    return info.srWindow.Right - info.srWindow.Left + 1;
}

} // namespace

void followTerminalSize()
{
    // The progress line ends in an erase-to-end-of-line sequence, which the console shows as
    // text unless asked to act on it.
    HANDLE console = GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    if (GetConsoleMode(console, &mode))
        SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
    seenColumns = windowColumns();
}

bool terminalResized()
{
    int columns = windowColumns();
    bool changed = columns != seenColumns;
    seenColumns = columns;
    return changed;
}

int terminalColumns() { return windowColumns(); }
