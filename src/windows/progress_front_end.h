#pragma once
// Shows the shared conversion procedure in the progress window: the status line, the bar, the
// overwrite question, and the done flag as the sign of cancellation.
#include "convert/convert_pieces.h"
#include "toolkit/window.h"

class ProgressFrontEnd : public ConversionFrontEnd {
public:
    ProgressFrontEnd(const Window& window, const Window& closeButton, const Window& statusLine,
                     const Window& progressBar, const int& done)
        : window_(window), closeButton_(closeButton), statusLine_(statusLine), progressBar_(progressBar), done_(done)
    {
    }

    void step() override;
    void yieldOnce() override;
    bool isCancelled() override { return done_ != 0; }
    void showReading(const MusicEntry& entry) override;
    void showWriting(const MusicEntry& entry) override;
    OverwriteAnswer confirmOverwrite(const std::string& path) override;
    // A single failure shows nothing; the counts at the end tell.
    void pieceFailed(const MusicEntry&, const PieceResult&) override {}

    // The end: the counts, the button turned into "閉じる", the new caption, the last step.
    void showEnd(const ConversionCounts& counts);

private:
    const Window& window_;
    const Window& closeButton_;
    const Window& statusLine_;
    const Window& progressBar_;
    const int& done_;
};
