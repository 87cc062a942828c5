#pragma once
// Creating the standard child controls into a Window and driving them through their messages.
// Every control gets WS_CHILD | WS_VISIBLE, its id, and the shared control font. Texts are
// Shift-JIS (code page 932) and reach the controls as UTF-16, whatever the system's code page.
#include "toolkit/window.h"

#include <cstdint>

bool createChildControl(Window& control, DWORD exStyle, LPCSTR className, LPCSTR text, DWORD style, int x, int y,
                        int width, int height, HWND parent, std::uint16_t id);
// Every button is a plain push button: the button type bits are cleared.
bool createButton(Window& control, DWORD exStyle, LPCSTR text, DWORD style, int x, int y, int width, int height,
                  HWND parent, std::uint16_t id);
bool createStatic(Window& control, DWORD exStyle, LPCSTR text, DWORD style, int x, int y, int width, int height,
                  HWND parent, std::uint16_t id);
bool createEdit(Window& control, DWORD exStyle, LPCSTR text, DWORD style, int x, int y, int width, int height,
                HWND parent, std::uint16_t id);
bool createProgressBar(Window& control, DWORD exStyle, DWORD style, int x, int y, int width, int height, HWND parent,
                       std::uint16_t id);
// listViewExStyles are added to the extended list-view styles the control already has.
bool createListView(Window& control, DWORD listViewExStyles, DWORD exStyle, DWORD style, int x, int y, int width,
                    int height, HWND parent, std::uint16_t id);
// The status bar places itself along the bottom edge of its parent.
bool createStatusBar(Window& control, DWORD exStyle, DWORD style, HWND parent, std::uint16_t id);

bool setText(const Window& control, LPCSTR text);
bool setIcon(const Window& control, HICON icon);
// 32-bit bounds (PBM_SETRANGE32), so runs of more than 65,535 steps fill the bar correctly.
// True when the bar holds the new range afterwards.
bool setProgressRange(const Window& control, std::uint32_t minimum, std::uint32_t maximum);
LRESULT setProgressStep(const Window& control, int step);
LRESULT stepProgress(const Window& control);

int itemCount(const Window& listView);
int columnCount(const Window& listView);
// index -1 appends.
bool insertColumn(const Window& listView, int alignment, int width, LPCSTR title, int index);
bool insertItem(const Window& listView, LPCSTR text, int index);
bool setItemText(const Window& listView, LPCSTR text, int item, int subItem);
bool isItemChecked(const Window& listView, int item);
LRESULT setItemChecked(const Window& listView, int item, bool checked);
bool deleteItem(const Window& listView, int item);
void deleteAllItems(const Window& listView);
// The row holding the focus, or -1 when none does.
int focusedItem(const Window& listView);
// The whole row in the list's client coordinates; false when there is no such row.
bool itemBounds(const Window& listView, int item, RECT& bounds);
// Room for count rows, so that a fill does not grow the list row by row.
void reserveItems(const Window& listView, int count);
// While off, the control draws none of its changes; turned on again, it is redrawn whole.
void setRedraw(const Window& control, bool redraw);
// Redraws the control over its parent's background. A static with SS_SIMPLE draws a new text over
// the old pixels, so a shorter text would leave the tail of the longer one.
void redrawOverParent(const Window& control);

// Simple mode gives the bar one part spanning its width; only that part draws setStatusText's text.
void setSimpleMode(const Window& statusBar, bool simple);
// Shows text in the single part of a status bar in simple mode (part index 255).
bool setStatusText(const Window& statusBar, LPCSTR text, int drawingType);
