#pragma once
// Runs the real main window in this process and reads what it shows. Texts and paths are UTF-8 on
// this side; the windows are spoken to in UTF-16, as a user's system does.
#include "mainwindow/main_window.h"

#include <functional>

// MainWindow::run, with script called once from its loop as the window shows; then the window is closed.
bool runMainWindow(MainWindow& mainWindow, const std::function<void(HWND)>& script);
// Drops the files on the window as the shell does, with UTF-16 names.
void dropFiles(HWND window, const std::vector<std::string>& paths);
void sendCommand(HWND window, WORD id);
std::string windowText(HWND window);
std::string itemText(HWND listView, int row, int column);
// The titles of the list's columns, each followed by "|".
std::string columnTitles(HWND listView);
int rowCount(HWND listView);
std::string statusText(HWND statusBar);
// The characters of text that the control's font has no glyph for, which it would draw as boxes.
std::string missingGlyphs(HWND control, const std::string& text);
// What a control shows now against what a full repaint of its window draws there: "as repainted",
// "blank" (one colour all over) or how many pixels differ.
std::string shownAsRepainted(HWND window, HWND control);
