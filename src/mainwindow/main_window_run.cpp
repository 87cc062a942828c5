#include "mainwindow/main_window.h"

#include "mainwindow/main_menu.h"
#include "toolkit/message_pump.h"
#include "toolkit/modal_window.h"
#include "toolkit/window_class.h"

#include <shellapi.h>

namespace {

constexpr int clientWidth = 412;
constexpr int clientHeight = 280;

bool createMainWindow(Window& window, const WindowClass& windowClass, HINSTANCE instance)
{
    RECT outer = {0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, TRUE, 0);
    return window.create(0, windowClass.name(), "morlo", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                         outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr, instance, nullptr);
}

} // namespace

bool MainWindow::run(HINSTANCE instance)
{
    const HICON icon = loadProgramIcon(instance);
    WindowClass windowClass;
    if (!windowClass.registerClass(instance, "morlo_main", mainWindowProcedure, icon, buttonFaceBrush()))
        return false;
    Window window;
    if (!createMainWindow(window, windowClass, instance))
        return false;
    if (!buildMainMenu(window.handle()) || !createMainControls(controls_, window.handle(), instance)) {
        window.destroy();
        return false;
    }
    serveMainWindow(window.handle(), *this);
    DragAcceptFiles(window.handle(), TRUE);
    drainMessages();
    ShowWindow(window.handle(), SW_SHOWNORMAL);
    runMainLoop();
    return true;
}
