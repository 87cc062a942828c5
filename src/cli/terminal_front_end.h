#pragma once
// Shows a conversion run on a terminal: a progress line no wider than the terminal when stderr is
// one, the overwrite question when stdin is one, a line for every failed piece (but none when the
// reader of standard output has gone: it asked for no more) and for every existing file kept
// without asking.
#include "convert/convert_pieces.h"

#include <cstdint>
#include <set>
#include <string>

class TerminalFrontEnd : public ConversionFrontEnd {
public:
    // What becomes of existing output files: asked about when stdin is a terminal (and otherwise
    // kept, the piece failing), all replaced (--yes), or all kept and counted as skipped
    // (--skip-existing). The answers a and s at the question turn Ask into the other two.
    enum class Existing { Ask, ReplaceAll, KeepAll };

    // writer names the formats; bgmFolder names the BGM file that a piece could not
    // read.
    TerminalFrontEnd(std::uint64_t totalSteps, Existing existing, std::string bgmFolder, const PieceWriter& writer);

    void step() override;
    void yieldOnce() override {}
    bool isCancelled() override;
    void showReading(const PieceToWrite& piece) override;
    void showWriting(const PieceToWrite& piece) override;
    OverwriteAnswer confirmOverwrite(const std::string& path) override;
    void pieceFailed(const PieceToWrite& piece, const PieceResult& result) override;
    // A line saying why the file name (a piece's or the playlist) was not written: reason, or
    // the failure's own text when reason is empty.
    void fileFailed(const std::string& name, const PieceResult& result, const std::string& reason = "");
    // Whether the file at path was kept, when last asked about, by the user's choice: the answer n
    // (or Enter) or s, or --skip-existing; not for want of a terminal.
    bool keptByChoice(const std::string& path) const { return keptByChoice_.count(path) != 0; }

    // Ends the progress line.
    void finish();

private:
    OverwriteAnswer ask(const std::string& path);
    void drawBar();
    void clearBar();

    const PieceWriter& writer_;
    std::uint64_t totalSteps_;
    std::uint64_t steps_ = 0;
    Existing existing_;
    std::string bgmFolder_;
    bool showBar_;
    bool askUser_;
    std::string current_;
    int drawnPercent_ = -1;
    int columns_ = 80;
    std::set<std::string> keptByChoice_;
};

// Why writer's format cannot hold the piece of entry.
std::string formatRefusalText(const PieceWriter& writer, const MusicEntry& entry, FormatRefusal refusal);
// Why the definition alone refuses a piece.
std::string pieceRefusalText(PieceRefusal refusal);
// Why a piece was not written, for the failures that carry no reason of their own; bgmPath is the BGM file it read or tried to.
std::string failureText(PieceFailure failure, const std::string& bgmPath = "");
