#include "cli/terminal_front_end.h"

#include "cli/cancel_signals.h"
#include "cli/messages.h"
#include "cli/progress_line.h"
#include "cli/terminal_width.h"
#include "cli/text_output.h"
#include "platform/native_text.h"

#include <cstdio>
#include <string>
#include <unistd.h>
#include <utility>

std::string pieceRefusalText(PieceRefusal refusal)
{
    switch (refusal) {
    case PieceRefusal::None:
        break;
    case PieceRefusal::NameLost:
        return text(Message::FailNameLost);
    case PieceRefusal::NameLeavesFolder:
        return text(Message::FailNameLeavesFolder);
    case PieceRefusal::LoopPastData:
        return text(Message::FailLoopPastData);
    case PieceRefusal::TooLarge:
        return text(Message::FailTooLarge);
    }
    return text(Message::FailOther);
}

std::string failureText(PieceFailure failure, const std::string& bgmPath)
{
    switch (failure) {
    case PieceFailure::None:
    case PieceFailure::Refused:
    case PieceFailure::FormatCannotHold:
        break;
    case PieceFailure::NoSuchPiece:
        return text(Message::FailNoSuchPiece);
    case PieceFailure::SourceMissing:
        return text(Message::FailSourceMissing, {bgmPath});
    case PieceFailure::ShortSource:
        return text(Message::FailShortSource, {bgmPath});
    case PieceFailure::OverwriteRefused:
        return text(Message::FailOverwriteRefused);
    case PieceFailure::OutputReadOnly:
        return text(Message::FailOutputReadOnly);
    case PieceFailure::CannotCreate:
        return text(Message::FailCannotCreate);
    case PieceFailure::WriteFailed:
        return text(Message::FailWriteFailed);
    case PieceFailure::CannotRename:
        return text(Message::FailCannotRename);
    case PieceFailure::CannotRemove:
        return text(Message::FailCannotRemove, {unfinishedEnding});
    case PieceFailure::ReaderGone:
        return text(Message::FailReaderGone);
    }
    return text(Message::FailOther);
}

std::string formatRefusalText(const PieceWriter& writer, const MusicEntry& entry, FormatRefusal refusal)
{
    const std::string bits = std::to_string(entry.fmt_bits), rate = std::to_string(entry.fmt_samples);
    switch (refusal.limit) {
    case FormatLimit::None:
        break;
    case FormatLimit::Channels:
        return text(Message::FormatChannels, {writer.formatName(), std::to_string(refusal.largestChannels),
                                              std::to_string(entry.fmt_channels)});
    case FormatLimit::SampleBits:
        return text(Message::FormatBits, {writer.formatName(), bits});
    case FormatLimit::EncoderMemory:
        return text(Message::FlacNoMemory);
    case FormatLimit::EncoderBits:
        return text(Message::FlacBits, {bits});
    case FormatLimit::Rate:
        return text(Message::FlacRate, {rate});
    case FormatLimit::EncoderRate:
        return text(Message::VorbisRate, {rate});
    case FormatLimit::EncoderRefuses:
        return text(Message::FlacRefuses);
    }
    return text(Message::FailFormatCannotHold);
}

namespace {

enum class Answer { Replace, Keep, ReplaceAll, KeepAll, Unknown };

// y replaces, n or an empty line keeps, a and s do so for every later file too; the case does
// not matter, blanks around the letter neither.
Answer answerOf(const std::string& line)
{
    const std::size_t start = line.find_first_not_of(" \t\r");
    const std::string word = start == std::string::npos ? "" : line.substr(start, line.find_last_not_of(" \t\r") + 1 - start);
    if (word.empty())
        return Answer::Keep;
    if (word.size() > 1)
        return Answer::Unknown;
    switch (word[0]) {
    case 'y':
    case 'Y':
        return Answer::Replace;
    case 'n':
    case 'N':
        return Answer::Keep;
    case 'a':
    case 'A':
        return Answer::ReplaceAll;
    case 's':
    case 'S':
        return Answer::KeepAll;
    default:
        return Answer::Unknown;
    }
}

// One line from stdin without its end; false when the input ended or a signal broke off the wait
// before anything came.
bool readLine(std::string& line)
{
    line.clear();
    for (;;) {
        int c = std::fgetc(stdin);
        if (c == EOF)
            return !line.empty() && !cancelRequested();
        if (c == '\n')
            return true;
        line += static_cast<char>(c);
    }
}

} // namespace

TerminalFrontEnd::TerminalFrontEnd(std::uint64_t totalSteps, Existing existing, std::string bgmFolder,
                                   const PieceWriter& writer)
    : writer_(writer), totalSteps_(totalSteps), existing_(existing), bgmFolder_(std::move(bgmFolder)),
      showBar_(isatty(fileno(stderr)) != 0), askUser_(isatty(fileno(stdin)) != 0)
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

void TerminalFrontEnd::showReading(const PieceToWrite& piece)
{
    current_ = utf8Text(outputName(piece));
    drawnPercent_ = -1;
    drawBar();
}

void TerminalFrontEnd::showWriting(const PieceToWrite& piece)
{
    current_ = utf8Text(piece.tags.title.empty() ? outputName(piece) : piece.tags.title);
    drawnPercent_ = -1;
    drawBar();
}

OverwriteAnswer TerminalFrontEnd::confirmOverwrite(const std::string& path)
{
    keptByChoice_.erase(path);
    if (existing_ == Existing::ReplaceAll)
        return OverwriteAnswer::Replace;
    clearBar();
    drawnPercent_ = -1;
    if (existing_ == Existing::KeepAll) {
        printLine(stderr, text(Message::KeptExisting, {path}));
        keptByChoice_.insert(path);
        return OverwriteAnswer::Skip;
    }
    if (!askUser_) {
        printLine(stderr, text(Message::NotReplaced, {path}));
        return OverwriteAnswer::Keep;
    }
    return ask(path);
}

OverwriteAnswer TerminalFrontEnd::ask(const std::string& path)
{
    for (;;) {
        printText(stderr, text(Message::Question, {path}));
        std::fflush(stderr);
        std::string line;
        if (!readLine(line)) {
            // Ctrl-C or the end of the input leave the prompt's line open. No answer can come
            // after the end: this file and every later one are kept as without a terminal.
            printText(stderr, "\n");
            if (cancelRequested())
                return OverwriteAnswer::Keep;
            askUser_ = false;
            return confirmOverwrite(path);
        }
        switch (answerOf(line)) {
        case Answer::ReplaceAll:
            existing_ = Existing::ReplaceAll;
            return OverwriteAnswer::Replace;
        case Answer::Replace:
            return OverwriteAnswer::Replace;
        case Answer::KeepAll:
            existing_ = Existing::KeepAll;
            keptByChoice_.insert(path);
            return OverwriteAnswer::Skip;
        case Answer::Keep:
            // As the window's "いいえ": this file is kept and the piece counts as failed.
            keptByChoice_.insert(path);
            return OverwriteAnswer::Keep;
        case Answer::Unknown:
            break;
        }
        printLine(stderr, text(Message::AnswerAgain));
    }
}

void TerminalFrontEnd::pieceFailed(const PieceToWrite& piece, const PieceResult& result)
{
    const MusicEntry& entry = piece.entry;
    const std::string name = utf8Text(outputName(piece));
    switch (result.failure) {
    case PieceFailure::Refused:
        fileFailed(name, result, pieceRefusalText(result.refusal));
        break;
    case PieceFailure::FormatCannotHold:
        fileFailed(name, result, formatRefusalText(writer_, entry, result.format));
        break;
    default:
        fileFailed(name, result, failureText(result.failure, joinPath(bgmFolder_, utf8Text(entry.wave_file))));
        break;
    }
}

void TerminalFrontEnd::fileFailed(const std::string& name, const PieceResult& result, const std::string& reason)
{
    if (result.failure == PieceFailure::ReaderGone)
        return;
    clearBar();
    printLine(stderr, name + ": " + (reason.empty() ? failureText(result.failure) : reason));
    drawnPercent_ = -1;
    drawBar();
}

void TerminalFrontEnd::finish()
{
    if (showBar_ && drawnPercent_ >= 0)
        printText(stderr, "\n");
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
    printText(stderr, '\r' + progressLine(percent, current_, columns_ - 1) + "\033[K");
    std::fflush(stderr);
}

void TerminalFrontEnd::clearBar()
{
    if (showBar_ && drawnPercent_ >= 0)
        printText(stderr, "\r\033[K");
}
