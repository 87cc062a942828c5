#pragma once
// Shows a conversion run on a terminal: a progress line no wider than the terminal when stderr is
// one, the overwrite question when stdin is one, a line for every failed piece (but none when the
// reader of standard output has gone: it asked for no more).
#include "convert/convert_pieces.h"

#include <cstdint>
#include <string>

class TerminalFrontEnd : public ConversionFrontEnd {
public:
    // writer names the files and the reasons its format refuses a piece.
    TerminalFrontEnd(std::uint64_t totalSteps, bool overwrite, const PieceWriter& writer);

    void step() override;
    void yieldOnce() override {}
    bool isCancelled() override;
    void showReading(const MusicEntry& entry) override;
    void showWriting(const MusicEntry& entry) override;
    bool confirmOverwrite(const std::string& path) override;
    void pieceFailed(const MusicEntry& entry, PieceFailure failure) override;
    // A line saying why the file name (a piece's or the playlist) was not written: reason, or
    // the failure's own text when reason is empty.
    void fileFailed(const std::string& name, PieceFailure failure, const std::string& reason = "");

    // Ends the progress line.
    void finish();

private:
    void drawBar();
    void clearBar();

    const PieceWriter& writer_;
    std::uint64_t totalSteps_;
    std::uint64_t steps_ = 0;
    bool overwrite_;
    bool showBar_;
    bool askUser_;
    std::string current_;
    int drawnPercent_ = -1;
    int columns_ = 80;
};

std::string failureText(PieceFailure failure);
