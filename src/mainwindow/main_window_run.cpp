#include "mainwindow/main_window.h"

#include "definition/output_options.h"
#include "mainwindow/main_menu.h"
#include "mainwindow/music_list.h"
#include "toolkit/controls.h"
#include "toolkit/message_pump.h"
#include "toolkit/modal_window.h"
#include "toolkit/window_class.h"

#include <commctrl.h>
#include <shellapi.h>

namespace {

constexpr int clientWidth = 412;
constexpr int clientHeight = 280;
constexpr DWORD arrowsStyle =
    WS_CHILD | WS_VISIBLE | WS_BORDER | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;

// Declared in the order of creation, so they are destroyed in the reverse order.
struct MainControls {
    Window statusBar;
    Window musicList;
    Window albumLabel;
    Window loopCountLabel;
    Window loopCountField;
    Window fadeSecondsLabel;
    Window fadeSecondsField;
};

bool createMainWindow(Window& window, const WindowClass& windowClass, HINSTANCE instance, MainWindow* object)
{
    RECT outer = {0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, TRUE, 0);
    return window.create(0, windowClass.name(), "morlo", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                         outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr, instance, object);
}

// The field shows the arrows' position from the start, so it needs no text of its own.
bool createArrows(HWND parent, HINSTANCE instance, std::uint16_t id, const Window& field, std::uint32_t position)
{
    return CreateUpDownControl(arrowsStyle, 0, 0, 0, 0, parent, id, instance, field.handle(),
                               static_cast<int>(largestCount), 0, static_cast<int>(position)) != nullptr;
}

bool initUpDownClass()
{
    INITCOMMONCONTROLSEX classes = {};
    classes.dwSize = sizeof classes;
    classes.dwICC = ICC_UPDOWN_CLASS;
    return InitCommonControlsEx(&classes);
}

bool createNumberFields(MainControls& controls, HWND parent, HINSTANCE instance)
{
    return createStatic(controls.loopCountLabel, 0, "ループ回数", SS_SIMPLE, 162, 4, 54, 16, parent,
                        loopCountLabelId) &&
           createEdit(controls.loopCountField, WS_EX_CLIENTEDGE, "", ES_NUMBER | ES_RIGHT, 216, 0, 48, 20, parent,
                      loopCountFieldId) &&
           createArrows(parent, instance, loopCountArrowsId, controls.loopCountField, defaultLoopCount) &&
           createStatic(controls.fadeSecondsLabel, 0, "フェード秒数", SS_SIMPLE, 266, 4, 58, 16, parent,
                        fadeSecondsLabelId) &&
           createEdit(controls.fadeSecondsField, WS_EX_CLIENTEDGE, "", ES_NUMBER | ES_RIGHT, 326, 0, 48, 20, parent,
                      fadeSecondsFieldId) &&
           createArrows(parent, instance, fadeSecondsArrowsId, controls.fadeSecondsField, defaultFadeSeconds);
}

bool createControls(MainControls& controls, HWND parent, HINSTANCE instance)
{
    if (!createStatusBar(controls.statusBar, 0, 0, parent, statusBarId))
        return false;
    // The totals are one text across the whole bar.
    setSimpleMode(controls.statusBar, true);
    return MusicList::create(controls.musicList, parent, musicListId) &&
           createStatic(controls.albumLabel, WS_EX_CLIENTEDGE, "", SS_SIMPLE, 0, 0, 160, 20, parent,
                        albumLabelId) &&
           initUpDownClass() && createNumberFields(controls, parent, instance);
}

} // namespace

bool MainWindow::run(HINSTANCE instance)
{
    const HICON icon = loadProgramIcon(instance);
    WindowClass windowClass;
    if (!windowClass.registerClass(instance, "morlo_main", mainWindowProcedure, icon, buttonFaceBrush()))
        return false;
    Window window;
    if (!createMainWindow(window, windowClass, instance, this))
        return false;
    MainControls controls;
    if (!buildMainMenu(window.handle()) || !createControls(controls, window.handle(), instance)) {
        window.destroy();
        return false;
    }
    addControl(musicListId, controls.musicList);
    addControl(statusBarId, controls.statusBar);
    addControl(albumLabelId, controls.albumLabel);
    DragAcceptFiles(window.handle(), TRUE);
    drainMessages();
    ShowWindow(window.handle(), SW_SHOWNORMAL);
    runMainLoop();
    clearControls();
    return true;
}
