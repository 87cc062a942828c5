#include "convert/convert_window.h"

#include "convert/convert_window_front_end.h"
#include "convert/convert_window_ids.h"
#include "convert/convert_window_procedure.h"
#include "toolkit/controls.h"
#include "toolkit/message_pump.h"
#include "toolkit/modal_window.h"
#include "toolkit/window_class.h"

#include <commctrl.h>

namespace {

constexpr int clientWidth = 256;
constexpr int clientHeight = 88;

// The progress window's parts, released in the reverse order of their creation.
struct ProgressWindow {
    WindowClass windowClass;
    Window window;
    Window closeButton;
    Window statusLine;
    Window progressBar;
};

bool createWindow(ProgressWindow& progress, HWND owner, int& done)
{
    const HINSTANCE instance = instanceOf(owner);
    if (!progress.windowClass.registerClass(instance, "morlo_convert", convertWindowProcedure,
                                            loadProgramIcon(instance), buttonFaceBrush()))
        return false;
    done = 0;
    if (!progress.window.create(0, progress.windowClass.name(), "出力中", modalWindowStyle, CW_USEDEFAULT,
                                CW_USEDEFAULT, 0, 0, owner, nullptr, instance, &done)) {
        progress.windowClass.unregisterClass();
        return false;
    }
    return true;
}

void buildControls(ProgressWindow& progress)
{
    const HWND window = progress.window.handle();
    createButton(progress.closeButton, 0, "キャンセル", 0, 89, 64, 78, 20, window, closeButtonId);
    createStatic(progress.statusLine, 0, "", 0, 8, 40, 240, 20, window, statusLineId);
    createProgressBar(progress.progressBar, 0, PBS_SMOOTH, 8, 8, 240, 20, window, progressBarId);
}

} // namespace

void runConversion(HWND owner, const LoopDefinition& definition, const OutputOptions& options,
                   const std::vector<std::int32_t>& rows)
{
    int done = 0;
    ProgressWindow progress;
    if (!createWindow(progress, owner, done))
        return;
    const HWND window = progress.window.handle();
    trimSystemMenu(window);
    EnableWindow(owner, FALSE);
    placeOverOwner(window, owner, clientWidth, clientHeight);
    buildControls(progress);
    ShowWindow(window, SW_SHOWNORMAL);
    // A 32-bit range: long runs (many pieces, many loops) pass 65,535 steps.
    setProgressRange(progress.progressBar, 0, static_cast<std::uint32_t>(conversionSteps(rows.size(), options.loopCount)));
    setProgressStep(progress.progressBar, 1);
    drainMessages();

    ProgressFrontEnd frontEnd(progress.window, progress.closeButton, progress.statusLine, progress.progressBar, done);
    frontEnd.showEnd(convertPieces(definition, options, rows, frontEnd));
    modalWait(done);
    EnableWindow(owner, TRUE);
}
