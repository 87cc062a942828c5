#pragma once
// Runs the real main window in this process and reads what it shows.
#include "mainwindow/main_window.h"

#include <functional>

// MainWindow::run, with script called once from its loop as the window shows; then the window is closed.
bool runMainWindow(MainWindow& mainWindow, const std::function<void(HWND)>& script);
void dropFiles(HWND window, const std::vector<std::string>& paths);
void sendCommand(HWND window, WORD id);
std::string windowText(HWND window);
std::string itemText(HWND listView, int row, int column);
int rowCount(HWND listView);
std::string statusText(HWND statusBar);
// What a control shows now against what a full repaint of its window draws there: "as repainted",
// "blank" (one colour all over) or how many pixels differ.
std::string shownAsRepainted(HWND window, HWND control);
