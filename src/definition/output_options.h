#pragma once
// The user's choices for one conversion run.
#include <cstdint>
#include <optional>
#include <string>

constexpr std::uint32_t defaultLoopCount = 2;
constexpr std::uint32_t defaultFadeSeconds = 10;
constexpr std::uint32_t largestCount = 999;
constexpr float defaultVorbisQuality = 5;

enum class OutputFormat { Wave, Flac, OggVorbis };

// How the texts of a WAVE file's "INFO" tags are written: in Shift-JIS as the definition holds
// them, which Windows programs on a Japanese system read, or in UTF-8, which players built on
// common decoding libraries read. Other tags are UTF-8 whatever the choice.
enum class InfoText { ShiftJis, Utf8 };

// Where the output files' names come from: the definition's file keys, or each piece's track
// number and whole title (titleFileName).
enum class OutputNames { Definition, Titles };

// What the files of a run carry beyond the plain WAVE file, each only when asked for (morlo-cli's
// flags, the main window's options menu); with none, a file is byte for byte the plain one.
struct FileChoices {
    // Title, album and track: "LIST"/"INFO" and "id3 " chunks in WAVE, comments in FLAC and Ogg.
    bool tags = false;
    // The loop: a "smpl" chunk in WAVE, LOOPSTART and LOOPLENGTH comments in FLAC and Ogg.
    bool loopPoints = false;
    // The fade-out runs all its seconds, on through the loop (FadeRequest).
    bool fullFade = false;
    // The encoding of the WAVE "INFO" texts that tags writes.
    InfoText infoText = InfoText::ShiftJis;
};

// The fade-out asked for. By the program's own rule it is never longer than one loop, so that a
// piece whose loop is shorter than the fade ends before it has faded out; a full fade lasts all
// its seconds, taking the loop from its start again each time it ends, as playback runs on.
struct FadeRequest {
    std::uint32_t seconds = defaultFadeSeconds;
    bool full = false;
};

struct OutputOptions {
    std::uint32_t loopCount = defaultLoopCount;     // times the loop is written, 0..999
    std::uint32_t fadeSeconds = defaultFadeSeconds; // length of the fade-out, 0..999
    std::string outputFolder;
    std::string bgmFolder;
    FileChoices choices;
    OutputFormat format = OutputFormat::Wave;
    float quality = defaultVorbisQuality; // Ogg Vorbis's, -1 (smallest) to 10 (best)
    bool toStandardOutput = false;        // the one piece goes to standard output instead of a file
    // The playing time each piece is to reach at least, in seconds: each piece then has a loop count
    // of its own in place of loopCount (pieceOptions in figures.h).
    std::optional<std::uint32_t> lengthSeconds;
    // Each piece as two files, its introduction and one pass of its loop (piece_to_write.h); the
    // loop count, the fade and a full fade do not apply.
    bool split = false;
    OutputNames names = OutputNames::Definition;

    FadeRequest fade() const { return FadeRequest{fadeSeconds, choices.fullFade}; }
};

// A loop count or fade seconds as typed: anything outside 0..999, negative numbers included,
// counts as 999.
inline std::uint32_t limitCount(std::int32_t typed)
{
    std::uint32_t value = static_cast<std::uint32_t>(typed);
    return value > largestCount ? largestCount : value;
}
