#pragma once
// The main window's menu bar: File, Edit, Options and Help.
#include <windows.h>

#include <cstdint>

// False only when the bar could not be made; an entry that cannot be added is left out.
bool buildMainMenu(HWND window);
// Marks the format item id as the chosen one, the others of the group unmarked.
void markFormatItem(HWND window, std::uint16_t id);
