#pragma once
// The main window's commands that open other windows: the file-open dialog, a drop, and the
// folder and progress windows of a run. They drive the MainWindow through its public side; it
// knows nothing of them.
#include "mainwindow/main_window.h"

#include <windows.h>
#include <shellapi.h>

// Opens a definition chosen in the file-open dialog, or the first file dropped (the drop is
// finished either way).
void openWithDialog(MainWindow& object, HWND window);
void openDropped(MainWindow& object, HWND window, HDROP drop);
// Asks for the folders and writes the ticked pieces in the chosen format.
void writeWaveFiles(const MainWindow& object, HWND window);
