#pragma once
// How smoothly a piece's loop wraps from its last frame back to its first: a jump there is an
// audible click every time the loop repeats (and where the fade-out begins).
//
// Each step between two frames is compared with the mean of the steps on either side of it; what
// is left (its surprise) is small wherever the sound runs on smoothly, whatever its loudness or
// pitch. The largest surprise of the seam's step and its two neighbours is divided by the root
// mean square of the ordinary surprises within 5 ms before the loop's end and after its start,
// plus a floor of 2^-13 of full scale so that near-silence does not turn tiny jumps into large
// figures. A smooth seam measures about 1 or less; each channel is measured and the largest
// counts.
#include "definition/music_entry.h"

#include <cstdint>

// Seams measuring more than this stand far out from the sound around them.
constexpr double seamClickThreshold = 8.0;
// How far from the author's loop end a smoother one is looked for.
constexpr std::uint32_t seamSearchMilliseconds = 10;

struct LoopSeam {
    bool measured = false; // 8-, 16- or 24-bit data whose loop holds at least 4 frames
    double measure = 0;
    bool clicks = false;   // measure above seamClickThreshold
    // The smoothest loop end within seamSearchMilliseconds (among equally smooth ones, the
    // nearest to the author's), with the loop start on a frame boundary. Only for a seam that
    // clicks, and only when the one found does not.
    bool suggested = false;
    std::uint32_t loop_start = 0;
    std::uint32_t loop_size = 0;
    double suggestedMeasure = 0;
};

// data holds the piece's wave_size bytes; the caller has checked loopLiesInData.
LoopSeam measureLoopSeam(const std::uint8_t* data, const MusicEntry& entry);
