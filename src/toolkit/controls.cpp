#include "toolkit/controls.h"

#include "platform/win32/wide_text.h"
#include "toolkit/font.h"

#include <commctrl.h>

namespace {

constexpr DWORD childStyle = WS_CHILD | WS_VISIBLE;
// The list view's check boxes are its state images: the first unticked, the second ticked.
constexpr std::uint32_t checkedImage = INDEXTOSTATEIMAGEMASK(2);
constexpr std::uint32_t uncheckedImage = INDEXTOSTATEIMAGEMASK(1);

} // namespace

bool createChildControl(Window& control, DWORD exStyle, LPCSTR className, LPCSTR text, DWORD style, int x, int y,
                        int width, int height, HWND parent, std::uint16_t id)
{
    if (!IsWindow(parent))
        return false;
    const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    if (!control.create(exStyle, className, text, style | childStyle, x, y, width, height, parent,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), instance, nullptr))
        return false;
    control.send(WM_SETFONT, reinterpret_cast<WPARAM>(controlFont()), TRUE);
    return true;
}

bool createButton(Window& control, DWORD exStyle, LPCSTR text, DWORD style, int x, int y, int width, int height,
                  HWND parent, std::uint16_t id)
{
    return createChildControl(control, exStyle, "BUTTON", text, style & ~static_cast<DWORD>(BS_TYPEMASK), x, y,
                              width, height, parent, id);
}

bool createStatic(Window& control, DWORD exStyle, LPCSTR text, DWORD style, int x, int y, int width, int height,
                  HWND parent, std::uint16_t id)
{
    return createChildControl(control, exStyle, "STATIC", text, style, x, y, width, height, parent, id);
}

bool createEdit(Window& control, DWORD exStyle, LPCSTR text, DWORD style, int x, int y, int width, int height,
                HWND parent, std::uint16_t id)
{
    return createChildControl(control, exStyle, "EDIT", text, style, x, y, width, height, parent, id);
}

bool createProgressBar(Window& control, DWORD exStyle, DWORD style, int x, int y, int width, int height, HWND parent,
                       std::uint16_t id)
{
    InitCommonControls();
    return createChildControl(control, exStyle, PROGRESS_CLASSA, "", style, x, y, width, height, parent, id);
}

bool createListView(Window& control, DWORD listViewExStyles, DWORD exStyle, DWORD style, int x, int y, int width,
                    int height, HWND parent, std::uint16_t id)
{
    InitCommonControls();
    if (!createChildControl(control, exStyle, WC_LISTVIEWA, "", style, x, y, width, height, parent, id))
        return false;
    const LRESULT current = control.send(LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    control.send(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, current | listViewExStyles);
    return true;
}

bool createStatusBar(Window& control, DWORD exStyle, DWORD style, HWND parent, std::uint16_t id)
{
    InitCommonControls();
    return createChildControl(control, exStyle, STATUSCLASSNAMEA, "", style, 0, 0, 0, 0, parent, id);
}

bool setText(const Window& control, LPCSTR text)
{
    return control.send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wideFromShiftJis(text).c_str())) == TRUE;
}

bool setIcon(const Window& control, HICON icon)
{
    return control.send(STM_SETICON, reinterpret_cast<WPARAM>(icon), 0) != 0;
}

bool setProgressRange(const Window& control, std::uint32_t minimum, std::uint32_t maximum)
{
    // The answer is the previous range cut to 16-bit halves, so the new range is read back instead.
    control.send(PBM_SETRANGE32, minimum, maximum);
    return control.handle() && static_cast<std::uint32_t>(control.send(PBM_GETRANGE, TRUE, 0)) == minimum &&
           static_cast<std::uint32_t>(control.send(PBM_GETRANGE, FALSE, 0)) == maximum;
}

LRESULT setProgressStep(const Window& control, int step)
{
    return control.send(PBM_SETSTEP, static_cast<WPARAM>(step), 0);
}

LRESULT stepProgress(const Window& control)
{
    return control.send(PBM_STEPIT, 0, 0);
}

int itemCount(const Window& listView)
{
    return static_cast<int>(listView.send(LVM_GETITEMCOUNT, 0, 0));
}

int columnCount(const Window& listView)
{
    const HWND header = reinterpret_cast<HWND>(listView.send(LVM_GETHEADER, 0, 0));
    return static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
}

bool insertColumn(const Window& listView, int alignment, int width, LPCSTR title, int index)
{
    std::wstring text = wideFromShiftJis(title);
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = alignment;
    column.cx = width;
    column.pszText = text.data();
    const int position = index == -1 ? columnCount(listView) : index;
    return listView.send(LVM_INSERTCOLUMNW, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(&column)) != -1;
}

bool insertItem(const Window& listView, LPCSTR text, int index)
{
    std::wstring wide = wideFromShiftJis(text);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index == -1 ? itemCount(listView) : index;
    item.pszText = wide.data();
    return listView.send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) != -1;
}

bool setItemText(const Window& listView, LPCSTR text, int item, int subItem)
{
    std::wstring wide = wideFromShiftJis(text);
    LVITEMW record{};
    record.mask = LVIF_TEXT;
    record.iItem = item;
    record.iSubItem = subItem;
    record.pszText = wide.data();
    return listView.send(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&record)) != 0;
}

bool isItemChecked(const Window& listView, int item)
{
    const auto state = static_cast<std::uint32_t>(listView.send(LVM_GETITEMSTATE, static_cast<WPARAM>(item),
                                                                LVIS_STATEIMAGEMASK));
    return (state & LVIS_STATEIMAGEMASK) == checkedImage;
}

LRESULT setItemChecked(const Window& listView, int item, bool checked)
{
    LVITEMW record{};
    record.mask = LVIF_STATE;
    record.state = checked ? checkedImage : uncheckedImage;
    record.stateMask = LVIS_STATEIMAGEMASK;
    return listView.send(LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&record));
}

bool deleteItem(const Window& listView, int item)
{
    return listView.send(LVM_DELETEITEM, static_cast<WPARAM>(item), 0) != 0;
}

void deleteAllItems(const Window& listView)
{
    while (deleteItem(listView, 0)) {
    }
}

int focusedItem(const Window& listView)
{
    return static_cast<int>(listView.send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

bool itemBounds(const Window& listView, int item, RECT& bounds)
{
    bounds.left = LVIR_BOUNDS;
    return listView.send(LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&bounds)) != 0;
}

void reserveItems(const Window& listView, int count)
{
    listView.send(LVM_SETITEMCOUNT, static_cast<WPARAM>(count), 0);
}

void setRedraw(const Window& control, bool redraw)
{
    control.send(WM_SETREDRAW, redraw ? TRUE : FALSE, 0);
    if (redraw)
        RedrawWindow(control.handle(), nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void redrawOverParent(const Window& control)
{
    const HWND parent = GetParent(control.handle());
    RECT area = {};
    GetWindowRect(control.handle(), &area);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
    RedrawWindow(parent, &area, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void setSimpleMode(const Window& statusBar, bool simple) { statusBar.send(SB_SIMPLE, simple ? TRUE : FALSE, 0); }

bool setStatusText(const Window& statusBar, LPCSTR text, int drawingType)
{
    return statusBar.send(SB_SETTEXTW, static_cast<WPARAM>(drawingType | 255),
                          reinterpret_cast<LPARAM>(wideFromShiftJis(text).c_str())) != 0;
}
