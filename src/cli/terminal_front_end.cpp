#include "cli/terminal_front_end.h"

#include "cli/cancel_signals.h"
#include "cli/progress_line.h"
#include "cli/terminal_width.h"
#include "platform/native_text.h"

#include <cstdio>
#include <string>
#include <unistd.h>

std::string failureText(PieceFailure failure)
{
    switch (failure) {
    case PieceFailure::None:
        break;
    case PieceFailure::NoSuchPiece:
        return "no such piece in the definition";
    case PieceFailure::NameLeavesFolder:
        return "the output name is not a plain file name";
    case PieceFailure::LoopPastData:
        return "the loop reaches past the piece's data";
    case PieceFailure::TooLarge:
        return "the output would be larger than a WAVE file can be";
    case PieceFailure::SourceMissing:
        return "the BGM wave file cannot be opened";
    case PieceFailure::ShortSource:
        return "the BGM wave file ends before the piece's data does";
    case PieceFailure::OverwriteRefused:
        return "the output file exists and was kept";
    case PieceFailure::OutputReadOnly:
        return "the output file exists and is read-only; it was kept";
    case PieceFailure::CannotCreate:
        return "the output file cannot be created";
    case PieceFailure::WriteFailed:
        return "writing the output file failed (is the disk full?); no file was replaced";
    case PieceFailure::CannotRename:
        return "the finished file could not take the output's name; no file was replaced";
    case PieceFailure::CannotRemove:
        return "not written, and its unfinished file (ending in " + std::string(unfinishedEnding) + ") could not be removed";
    case PieceFailure::FormatCannotHold:
        return "the format cannot hold the piece";
    case PieceFailure::ReaderGone:
        return "standard output was closed";
    }
    return "failed";
}

TerminalFrontEnd::TerminalFrontEnd(std::uint64_t totalSteps, bool overwrite, const PieceWriter& writer)
    : writer_(writer), totalSteps_(totalSteps), overwrite_(overwrite), showBar_(isatty(fileno(stderr)) != 0),
      askUser_(isatty(fileno(stdin)) != 0)
{
    if (showBar_) {
        followTerminalSize();
        columns_ = terminalColumns();
    }
}

void TerminalFrontEnd::step()
{
    ++steps_;
    drawBar();
}

bool TerminalFrontEnd::isCancelled() { return cancelRequested(); }

void TerminalFrontEnd::showReading(const MusicEntry& entry)
{
    current_ = nativeText(writer_.outputName(entry.file));
    drawnPercent_ = -1;
    drawBar();
}

void TerminalFrontEnd::showWriting(const MusicEntry& entry)
{
    current_ = nativeText(entry.title.empty() ? writer_.outputName(entry.file) : entry.title);
    drawnPercent_ = -1;
    drawBar();
}

bool TerminalFrontEnd::confirmOverwrite(const std::string& path)
{
    if (overwrite_)
        return true;
    clearBar();
    if (!askUser_) {
        std::fprintf(stderr, "%s exists; not replaced (use --yes to replace existing files)\n", path.c_str());
        return false;
    }
    std::fprintf(stderr, "%s", (path + "は存在します\n上書きしますか？ [y/N] ").c_str());
    std::fflush(stderr);
    char answer[16] = {};
    bool answered = std::fgets(answer, sizeof answer, stdin) != nullptr;
    // Ctrl-C or the end of the input leave the prompt's line open.
    if (!answered)
        std::fputc('\n', stderr);
    bool yes = answered && (answer[0] == 'y' || answer[0] == 'Y');
    drawnPercent_ = -1;
    return yes;
}

void TerminalFrontEnd::pieceFailed(const MusicEntry& entry, PieceFailure failure)
{
    fileFailed(nativeText(writer_.outputName(entry.file)), failure,
               failure == PieceFailure::FormatCannotHold ? writer_.refusal(entry) : "");
}

void TerminalFrontEnd::fileFailed(const std::string& name, PieceFailure failure, const std::string& reason)
{
    if (failure == PieceFailure::ReaderGone)
        return;
    clearBar();
    std::fprintf(stderr, "%s: %s\n", name.c_str(), (reason.empty() ? failureText(failure) : reason).c_str());
    drawnPercent_ = -1;
    drawBar();
}

void TerminalFrontEnd::finish()
{
    if (showBar_ && drawnPercent_ >= 0)
        std::fputc('\n', stderr);
    drawnPercent_ = -1;
}

void TerminalFrontEnd::drawBar()
{
    if (!showBar_ || totalSteps_ == 0)
        return;
    if (terminalResized()) {
        columns_ = terminalColumns();
        drawnPercent_ = -1;
    }
    int percent = static_cast<int>(steps_ * 100 / totalSteps_);
    if (percent == drawnPercent_)
        return;
    drawnPercent_ = percent;
    // The last column stays empty: a character there moves the cursor to the next row on the
    // Windows console, and elsewhere the erase that ends the line would wipe it out.
    std::string line = progressLine(percent, current_, columns_ - 1, terminalEncoding());
    std::fprintf(stderr, "\r%s\033[K", line.c_str());
    std::fflush(stderr);
}

void TerminalFrontEnd::clearBar()
{
    if (showBar_ && drawnPercent_ >= 0)
        std::fprintf(stderr, "\r\033[K");
}
