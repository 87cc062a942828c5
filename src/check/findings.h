#pragma once
// What checking a definition can find: an error (the piece would fail), a warning (it would be
// written, probably not as its author meant) or a note (a fact worth knowing, nothing wrong).
// Codes are short and stable, for scripts; the words are the user's language's, so a finding
// holds what its message says (a form and the values put into it), and the front end words it.
#include <string>
#include <vector>

enum class FindingLevel { Error, Warning, Note };

// The forms of the messages; values are put into them in the order given at each.
enum class FindingText {
    NameNotPlain,      // output name
    NameLost,          // output name as read
    LoopPastData,      // loop end, wave_size
    TooLarge,          // loops, fade seconds, file size
    SameOutput,        // earlier piece's number, its output name
    SameOutputByCase,  // as SameOutput: names that differ in letter case alone, on a system that tells them apart
    NameCut,           // output name
    NoWavEnding,       // output name
    NothingBeforeWav,  // output name
    TitleCut,          //
    TextLost,          // key, its text as read
    BgmOutsideFolder,  // BGM file name
    NoChannels,        //
    UnusualBits,       // fmt_bits
    UnusualRate,       // fmt_samples
    Unaligned,         // key, value, frame size
    FormatDefault,     // key, the default taken
    BgmMissing,        // BGM file name
    BgmShort,          // BGM file name, where the data ends
    LoopSeam,          // measure, threshold, search milliseconds
    LoopSeamSmoother,  // measure, threshold, then the suggestion (below), its measure
    LoopSeamDataEnds,  // measure, threshold, search milliseconds
    LoopSeamDataEndsSmoother, // as LoopSeamSmoother
    LoopMusic,         // difference, threshold, length search milliseconds
    LoopMusicSuggested, // difference, threshold, then the suggestion (below)
    LoopBytes,         // the length and the first frame at which the bytes repeat, then the suggestion
    UnreadAfterGap,    // the sections never read, the first missing one
    UnreadAfterNoFile, // the sections never read, the one without a file
    SavedAsUtf8,       //
    count
};
// A suggestion's values: loop_start, loop_size, start frame, length in frames, start's and end's
// moves in milliseconds.

struct Finding {
    FindingLevel level = FindingLevel::Warning;
    const char* code = "";
    FindingText text = FindingText::NoChannels;
    std::vector<std::string> values; // Shift-JIS, like the definition's own texts that they quote
};

using Findings = std::vector<Finding>;

const char* levelText(FindingLevel level); // "error", "warning", "note"
