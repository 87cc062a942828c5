#pragma once
// The main window's controls, each the single owner of its window.
#include "toolkit/window.h"

#include <windows.h>

// Declared in the order of creation, so they are destroyed in the reverse order.
struct MainControls {
    Window statusBar;
    Window musicList;
    Window albumLabel;
    Window loopCountLabel;
    Window loopCountField;
    Window fadeSecondsLabel;
    Window fadeSecondsField;
};

// The status bar, the music list, the album label and the two number fields with their labels
// and arrows, in parent. False when one of them could not be made.
bool createMainControls(MainControls& controls, HWND parent, HINSTANCE instance);
