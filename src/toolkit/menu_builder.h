#pragma once
// Builds a menu bar at run time from ids and texts. Every entry, popups and separators too,
// carries a 16-bit id; a parent id is 0 for the bar or the id of an earlier popup.
// The builder never destroys a menu: the bar goes with the window it is attached to.
// Texts are Shift-JIS (code page 932); the menus hold them as UTF-16.
#include <windows.h>

#include <cstdint>
#include <map>
#include <vector>

class MenuBuilder {
public:
    bool createBar();
    bool addPopup(std::uint16_t parentId, std::uint16_t id, LPCSTR text);
    bool addItem(std::uint16_t parentId, std::uint16_t id, LPCSTR text);
    bool addSeparator(std::uint16_t parentId, std::uint16_t id);
    // The caller redraws the menu bar afterwards.
    bool attachTo(HWND window);

private:
    // For the bar (0) and every popup: the index in menus_ of its own menu.
    std::map<std::uint16_t, std::uint32_t> popupIndex_;
    // The bar, then each popup in the order of creation.
    std::vector<HMENU> menus_;
};

// Adds a string item at the end of menu.
bool appendMenuItem(HMENU menu, std::uint16_t id, LPCSTR text);
// Sets or clears the check mark of the item id anywhere in the window's menu bar.
bool setMenuItemChecked(HWND window, std::uint16_t id, bool checked);
// Gives the item chosen a round mark and clears the marks of the others of the group first..last
// (ids in a row, all in one popup of the window's menu bar).
bool chooseMenuRadioItem(HWND window, std::uint16_t first, std::uint16_t last, std::uint16_t chosen);
