#pragma once
// Shows the shared conversion procedure in the progress window: the status line, the bar, the
// overwrite question, and the window's closing as the sign of cancellation.
#include "convert/convert_pieces.h"
#include "toolkit/window.h"
#include "windows/progress_window_state.h"

class ProgressFrontEnd : public ConversionFrontEnd {
public:
    ProgressFrontEnd(const Window& window, const Window& closeButton, const Window& statusLine,
                     const Window& progressBar, const ProgressWindowState& state)
        : window_(window), closeButton_(closeButton), statusLine_(statusLine), progressBar_(progressBar), state_(state)
    {
    }

    void step() override;
    void yieldOnce() override;
    bool isCancelled() override { return state_ != ProgressWindowState::Open; }
    void showReading(const PieceToWrite& piece) override;
    void showWriting(const PieceToWrite& piece) override;
    OverwriteAnswer confirmOverwrite(const std::string& path) override;
    // A single failure shows nothing; the counts at the end tell.
    void pieceFailed(const PieceToWrite&, const PieceResult&) override {}

    // The end: the counts, the button turned into "閉じる", the new caption, the last step.
    void showEnd(const ConversionCounts& counts);

private:
    const Window& window_;
    const Window& closeButton_;
    const Window& statusLine_;
    const Window& progressBar_;
    const ProgressWindowState& state_;
};
