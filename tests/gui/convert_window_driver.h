#pragma once
// Runs runConversion under a plain owner window as a user would see it: answers the overwrite
// questions, records what the progress window shows, closes it at the end, and can press
// "キャンセル" as soon as a given status text appears.
#include "convert/convert_pieces.h"
#include "definition/loop_definition.h"
#include "definition/output_options.h"
#include "support/test_files.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct RunRecord {
    std::vector<std::string> statusTexts; // every text the status line was given, in order
    std::vector<std::string> questions;   // text of every overwrite question
    std::vector<std::string> questionCaptions;
    bool endShown = false;                // the window reached its end state and was closed by us
    std::string endCaption;
    std::string endButton;
    std::string endStatus;
    std::uint32_t endPosition = 0;
    std::uint32_t rangeMaximum = 0;
    bool ownerDisabledMeanwhile = false;
    bool ownerEnabledAfter = false;
    DWORD windowStyle = 0;
    RECT clientArea{};
};

// The last text of the status line, or an empty text when it was never set.
inline std::string lastStatus(const RunRecord& record)
{
    return record.statusTexts.empty() ? std::string() : record.statusTexts.back();
}

class ConversionDriver {
public:
    ConversionDriver();
    ~ConversionDriver();
    ConversionDriver(const ConversionDriver&) = delete;
    ConversionDriver& operator=(const ConversionDriver&) = delete;

    // Answers for the overwrite questions, in order; questions beyond them are answered IDNO.
    void answer(std::vector<int> answers) { answers_ = std::move(answers); }
    // Presses the cancel button when the status line is first given text.
    void cancelAt(const std::string& text) { cancelText_ = text; }
    // Hides the progress window and records no status texts but the last: under Wine every step
    // of a visible bar costs a synchronous repaint, and every message a hook call.
    void hideWhileRunning() { hide_ = true; }

    RunRecord run(const LoopDefinition& definition, const OutputOptions& options,
                  const std::vector<std::int32_t>& rows);

    // Called by the timer and the message hook.
    void poll();
    void statusTextSet(HWND control, const char* text);

private:
    void answerQuestion(HWND box);
    void finishRun(HWND window);

    HWND owner_ = nullptr;
    std::vector<int> answers_;
    std::string cancelText_;
    HWND answeredBox_ = nullptr;
    bool hide_ = false;
    RunRecord record_;
};

// One piece of a test definition, written with its own key names.
MusicEntry piece(const std::string& file, const std::string& title, std::uint32_t waveStart, std::uint32_t waveSize,
                 std::uint32_t loopStart, std::uint32_t loopSize);

// Writes a Shift-JIS loop definition of entries into folder and loads it.
bool loadDefinition(LoopDefinition& definition, const TempFolder& folder, const std::vector<MusicEntry>& entries);

// Bytes that vary enough to show any misplaced or unscaled sample.
std::string patternBytes(std::size_t size, unsigned seed);

// What the core writes for the same run, answering Yes to every question, into outputFolder.
ConversionCounts coreConversion(const LoopDefinition& definition, OutputOptions options, const std::string& outputFolder,
                                const std::vector<std::int32_t>& rows);

// Rows 0 … count − 1.
std::vector<std::int32_t> allRows(std::size_t count);
