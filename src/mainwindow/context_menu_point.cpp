#include "mainwindow/context_menu_point.h"

#include <windowsx.h>

#include <algorithm>

namespace {

LONG within(LONG value, LONG low, LONG end)
{
    return std::max(low, std::min(value, end - 1));
}

} // namespace

POINT contextMenuPoint(LPARAM lParam, const ListArea& list)
{
    const POINT asked = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (asked.x != -1 || asked.y != -1)
        return asked;
    if (!list.hasFocusedRow)
        return {list.client.left, list.client.top};
    return {within(list.focusedRow.left, list.client.left, list.client.right),
            within(list.focusedRow.top + 1, list.client.top, list.client.bottom)};
}
