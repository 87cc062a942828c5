#include "toolkit/menu_builder.h"

#include "platform/win32/wide_text.h"

#include <string>

namespace {

constexpr std::size_t reservedMenus = 64;

MENUITEMINFOW menuRecord(UINT mask, UINT type, std::uint16_t id)
{
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = mask;
    item.fType = type;
    item.wID = id;
    return item;
}

bool append(HMENU menu, MENUITEMINFOW& item)
{
    return InsertMenuItemW(menu, static_cast<UINT>(-1), TRUE, &item);
}

} // namespace

bool MenuBuilder::createBar()
{
    if (!menus_.empty())
        return false;
    const HMENU bar = CreateMenu();
    if (!bar)
        return false;
    menus_.reserve(reservedMenus);
    menus_.push_back(bar);
    popupIndex_.emplace(0, 0);
    return true;
}

bool MenuBuilder::addPopup(std::uint16_t parentId, std::uint16_t id, LPCSTR text)
{
    const auto parent = popupIndex_.find(parentId);
    if (parent == popupIndex_.end())
        return false;
    const auto index = static_cast<std::uint32_t>(menus_.size());
    const HMENU popup = CreatePopupMenu();
    if (!popup)
        return false;
    menus_.push_back(popup);
    std::wstring wide = wideFromShiftJis(text);
    MENUITEMINFOW item = menuRecord(MIIM_ID | MIIM_SUBMENU | MIIM_TYPE, MFT_STRING, id);
    item.hSubMenu = popup;
    item.dwTypeData = wide.data();
    if (!append(menus_[parent->second], item))
        return false;
    popupIndex_.emplace(id, index);
    return true;
}

bool MenuBuilder::addItem(std::uint16_t parentId, std::uint16_t id, LPCSTR text)
{
    const auto parent = popupIndex_.find(parentId);
    return parent != popupIndex_.end() && appendMenuItem(menus_[parent->second], id, text);
}

bool MenuBuilder::addSeparator(std::uint16_t parentId, std::uint16_t id)
{
    const auto parent = popupIndex_.find(parentId);
    if (parent == popupIndex_.end())
        return false;
    MENUITEMINFOW item = menuRecord(MIIM_ID | MIIM_TYPE, MFT_SEPARATOR, id);
    return append(menus_[parent->second], item);
}

bool MenuBuilder::attachTo(HWND window)
{
    return !menus_.empty() && SetMenu(window, menus_[0]);
}

bool appendMenuItem(HMENU menu, std::uint16_t id, LPCSTR text)
{
    std::wstring wide = wideFromShiftJis(text);
    MENUITEMINFOW item = menuRecord(MIIM_ID | MIIM_TYPE, MFT_STRING, id);
    item.dwTypeData = wide.data();
    return append(menu, item);
}

bool setMenuItemChecked(HWND window, std::uint16_t id, bool checked)
{
    const UINT mark = checked ? MF_CHECKED : MF_UNCHECKED;
    return CheckMenuItem(GetMenu(window), id, MF_BYCOMMAND | mark) != static_cast<DWORD>(-1);
}

bool chooseMenuRadioItem(HWND window, std::uint16_t first, std::uint16_t last, std::uint16_t chosen)
{
    // The group is marked within the popup that holds it.
    const HMENU bar = GetMenu(window);
    for (int index = 0; index < GetMenuItemCount(bar); ++index) {
        const HMENU popup = GetSubMenu(bar, index);
        if (popup && GetMenuState(popup, chosen, MF_BYCOMMAND) != static_cast<UINT>(-1))
            return CheckMenuRadioItem(popup, first, last, chosen, MF_BYCOMMAND);
    }
    return false;
}
