#include "toolkit/modal_window.h"

namespace {

// Leaves Move and Close in the window's system menu.
void trimSystemMenu(HWND window)
{
    const HMENU menu = GetSystemMenu(window, FALSE);
    if (!IsMenu(menu))
        return;
    DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND);
    DeleteMenu(menu, SC_MINIMIZE, MF_BYCOMMAND);
    DeleteMenu(menu, SC_SIZE, MF_BYCOMMAND);
    DeleteMenu(menu, SC_RESTORE, MF_BYCOMMAND);
    // The separator that stood under Move.
    DeleteMenu(menu, 1, MF_BYPOSITION);
    DrawMenuBar(window);
}

// Sizes the window for the client area and centres it on the owner's window rectangle.
void placeOverOwner(HWND window, HWND owner, int clientWidth, int clientHeight)
{
    RECT outer{0, 0, clientWidth, clientHeight};
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    int width = clientWidth;
    int height = clientHeight;
    if (AdjustWindowRectEx(&outer, style, FALSE, 0)) {
        width = outer.right - outer.left;
        height = outer.bottom - outer.top;
    }
    int x = 0;
    int y = 0;
    RECT ownerRect;
    if (GetWindowRect(owner, &ownerRect)) {
        x = ownerRect.left + (ownerRect.right - ownerRect.left - width) / 2;
        y = ownerRect.top + (ownerRect.bottom - ownerRect.top - height) / 2;
    }
    MoveWindow(window, x, y, width, height, TRUE);
}

} // namespace

HBRUSH buttonFaceBrush()
{
    return reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
}

HINSTANCE instanceOf(HWND window)
{
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
}

HICON loadProgramIcon(HINSTANCE instance)
{
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(programIconId), IMAGE_ICON, 0, 0, LR_SHARED));
}

void closeModalWindow(HWND window)
{
    EnableWindow(GetWindow(window, GW_OWNER), TRUE);
    DestroyWindow(window);
}

bool openModalWindow(WindowClass& windowClass, Window& window, HWND owner, const ModalWindowLayout& layout,
                     LPVOID parameter)
{
    const HINSTANCE instance = instanceOf(owner);
    if (!windowClass.registerClass(instance, layout.className, layout.procedure, loadProgramIcon(instance),
                                   buttonFaceBrush()))
        return false;
    if (!window.create(0, windowClass.name(), layout.title, modalWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0,
                       owner, nullptr, instance, parameter)) {
        windowClass.unregisterClass();
        return false;
    }
    trimSystemMenu(window.handle());
    EnableWindow(owner, FALSE);
    placeOverOwner(window.handle(), owner, layout.clientWidth, layout.clientHeight);
    return true;
}
