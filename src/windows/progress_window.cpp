#include "windows/progress_window.h"

#include "toolkit/controls.h"
#include "toolkit/message_pump.h"
#include "toolkit/modal_window.h"
#include "windows/progress_front_end.h"
#include "windows/progress_window_ids.h"
#include "windows/progress_window_procedure.h"

#include <commctrl.h>

namespace {

// The progress window's parts, released in the reverse order of their creation.
struct ProgressWindow {
    WindowClass windowClass;
    Window window;
    Window closeButton;
    Window statusLine;
    Window progressBar;
};

const ModalWindowLayout progressLayout{"morlo_convert", "出力中", convertWindowProcedure, 256, 88};

bool buildControls(ProgressWindow& progress)
{
    const HWND window = progress.window.handle();
    return createButton(progress.closeButton, 0, "キャンセル", 0, 89, 64, 78, 20, window, closeButtonId) &&
           createStatic(progress.statusLine, 0, "", 0, 8, 40, 240, 20, window, statusLineId) &&
           createProgressBar(progress.progressBar, 0, PBS_SMOOTH, 8, 8, 240, 20, window, progressBarId);
}

} // namespace

bool runConversion(HWND owner, const LoopDefinition& definition, const OutputOptions& options,
                   const std::vector<std::int32_t>& rows, PieceWriter& writer)
{
    ProgressWindowState state = ProgressWindowState::Open;
    ProgressWindow progress;
    if (!openModalWindow(progress.windowClass, progress.window, owner, progressLayout, &state))
        return false;
    if (!buildControls(progress)) {
        closeModalWindow(progress.window.handle());
        return false;
    }
    ShowWindow(progress.window.handle(), SW_SHOWNORMAL);
    // A 32-bit range: long runs (many pieces, many loops) pass 65,535 steps.
    setProgressRange(progress.progressBar, 0, static_cast<std::uint32_t>(conversionSteps(rows.size(), options.loopCount)));
    setProgressStep(progress.progressBar, 1);
    drainMessages();

    ProgressFrontEnd frontEnd(progress.window, progress.closeButton, progress.statusLine, progress.progressBar, state);
    // FLAC and Ogg Vorbis pieces are encoded on every processor while this thread reads the next,
    // asks its questions and keeps the window answering; WAVE files are written one at a time.
    frontEnd.showEnd(convertPieces(definition, options, rows, frontEnd, writer, processorCount()));
    waitForModalWindow(owner, state, ProgressWindowState::Open);
    return true;
}
