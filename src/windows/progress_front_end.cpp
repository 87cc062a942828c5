#include "windows/progress_front_end.h"

#include "convert/run_texts.h"
#include "platform/win32/wide_text.h"
#include "toolkit/controls.h"
#include "toolkit/message_pump.h"

namespace {

// The status line's texts are Shift-JIS, as the definition's names in them; each is formatted
// into a buffer of this size.
using TextBytes = char[1024];

} // namespace

void ProgressFrontEnd::step() { stepProgress(progressBar_); }

void ProgressFrontEnd::yieldOnce() { pumpMessage(); }

void ProgressFrontEnd::showReading(const PieceToWrite& piece)
{
    TextBytes text;
    wsprintfA(text, "%sから%sを読み込み中", piece.entry.wave_file.c_str(), outputName(piece).c_str());
    setText(statusLine_, text);
}

void ProgressFrontEnd::showWriting(const PieceToWrite& piece)
{
    TextBytes text;
    wsprintfA(text, "%sを出力中", piece.entry.title.c_str());
    setText(statusLine_, text);
}

OverwriteAnswer ProgressFrontEnd::confirmOverwrite(const std::string& path)
{
    // The path is UTF-8, so the question is put together in UTF-16.
    const std::wstring question = wideFromUtf8(path) + wideFromShiftJis(existsReplaceQuestion);
    // Only a clear Yes replaces a file; a failed message box keeps it.
    const int answer = MessageBoxW(window_.handle(), question.c_str(), wideFromShiftJis("確認").c_str(), MB_YESNO);
    return answer == IDYES ? OverwriteAnswer::Replace : OverwriteAnswer::Keep;
}

void ProgressFrontEnd::showEnd(const ConversionCounts& counts)
{
    TextBytes text;
    wsprintfA(text, "%s%d%s%d%s", endLineBeforeSuccesses, static_cast<int>(counts.successes), endLineBeforeFailures,
              static_cast<int>(counts.failures), endLineAfterFailures);
    setText(statusLine_, text);
    setText(closeButton_, "閉じる");
    setText(window_, "出力終了");
    step();
}
