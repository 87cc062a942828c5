#include "convert/convert_window_front_end.h"

#include "toolkit/controls.h"
#include "toolkit/message_pump.h"

namespace {

// Every text of the window is formatted into a buffer of this size.
using TextBytes = char[1024];

} // namespace

void ProgressFrontEnd::step() { stepProgress(progressBar_); }

void ProgressFrontEnd::yieldOnce() { pumpMessage(); }

void ProgressFrontEnd::showReading(const MusicEntry& entry)
{
    TextBytes text;
    wsprintfA(text, "%sから%sを読み込み中", entry.wave_file.c_str(), entry.file.c_str());
    setText(statusLine_, text);
}

void ProgressFrontEnd::showWriting(const MusicEntry& entry)
{
    TextBytes text;
    wsprintfA(text, "%sを出力中", entry.title.c_str());
    setText(statusLine_, text);
}

OverwriteAnswer ProgressFrontEnd::confirmOverwrite(const std::string& path)
{
    TextBytes text;
    wsprintfA(text, "%sは存在します\n上書きしますか？", path.c_str());
    // Only a clear Yes replaces a file; a failed message box keeps it.
    return MessageBoxA(window_.handle(), text, "確認", MB_YESNO) == IDYES ? OverwriteAnswer::Replace : OverwriteAnswer::Keep;
}

void ProgressFrontEnd::showEnd(const ConversionCounts& counts)
{
    TextBytes text;
    wsprintfA(text, "出力終了(成功:%d個 失敗:%d個)", static_cast<int>(counts.successes),
              static_cast<int>(counts.failures));
    setText(statusLine_, text);
    setText(closeButton_, "閉じる");
    setText(window_, "出力終了");
    step();
}
