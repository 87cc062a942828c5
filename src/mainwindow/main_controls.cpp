#include "mainwindow/main_controls.h"

#include "definition/output_options.h"
#include "mainwindow/main_window_ids.h"
#include "mainwindow/music_list.h"
#include "toolkit/controls.h"

#include <commctrl.h>

namespace {

constexpr DWORD arrowsStyle =
    WS_CHILD | WS_VISIBLE | WS_BORDER | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;

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

} // namespace

bool createMainControls(MainControls& controls, HWND parent, HINSTANCE instance)
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
