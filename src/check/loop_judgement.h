#pragma once
// Whether a piece's loop runs on as its music does, and a loop near it that would.
//
// Where the data goes on past the loop's end by musicTailSeconds at least, the music itself is
// judged: what follows the end must be what follows the start (music_run_on.h), however rough
// the waveform's step at the seam (decoded lossy data is rough there, and a sharp attack is too).
// Elsewhere only the waveform's smoothness at the seam can be judged (loop_seam.h); where the
// data ends at the loop's end, only shorter ends can be tried.
#include "definition/music_entry.h"
#include "loops/loop_seam.h"

#include <cstddef>
#include <cstdint>
#include <optional>

// A quarter second holds a beat of most music; a shorter stretch can match by chance on a held
// note, and the loop search never compares less either.
constexpr double musicTailSeconds = 0.25;
// Long enough for a few notes; the window is shorter where the data past the end is.
constexpr double musicWindowSeconds = 1.0;

enum class JudgedBy { Music, Waveform };

struct LoopSuggestion {
    std::uint32_t loop_start = 0; // bytes, as the definition's keys
    std::uint32_t loop_size = 0;
    std::size_t startFrame = 0;
    std::size_t lengthFrames = 0;
    double startShiftMs = 0;          // from the author's loop
    double endShiftMs = 0;
    std::optional<double> measure;    // its seam's waveform measure, where measurable
    std::optional<double> difference; // judged by the music: how it runs on
};

struct LoopJudgement {
    JudgedBy judgedBy = JudgedBy::Waveform;
    bool dataEndsAtLoopEnd = false;
    LoopSeam seam;         // the waveform measure, whichever judges
    double difference = 0; // judged by the music
    bool flagged = false;
    std::optional<LoopSuggestion> suggestion; // only for a flagged loop
};

// data holds the piece's wave_size bytes; the caller has checked loopLiesInData.
LoopJudgement judgeLoop(const std::uint8_t* data, const MusicEntry& entry);
