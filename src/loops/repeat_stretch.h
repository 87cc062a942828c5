#pragma once
// Where, around a place known to repeat, the music goes on repeating lag frames later: the
// earliest frame from which it does is where a loop of that length can start.
#include "loops/pcm_view.h"

#include <cstddef>

struct RepeatStretch {
    std::size_t start = 0;    // the earliest frame t with t + lag repeating t
    std::size_t end = 0;      // one past the last such frame found
    std::size_t sounding = 0; // frames of the stretch that hold sound (silence repeats anything silent)
    bool exact = false;       // the bytes themselves repeat
};

// at is a frame of the earlier copy where [at, at + block) repeats; lossless data is followed
// byte for byte, decoded lossy data block by block.
RepeatStretch repeatStretch(const PcmView& view, std::size_t lag, std::size_t at);
