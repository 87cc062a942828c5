#pragma once
// Where a piece is cut into an introduction file and a loop file, for engines that play the one
// and then loop the other. The cut lies at the loop's first whole frame (as loopFrames has it), so
// that both files hold whole frames and the introduction, then the loop file over and over, play
// the plain file's data byte for byte. The loop file holds the loop's whole frames from the cut,
// coming round to the loop's start for the bytes before it.
#include "definition/music_entry.h"

#include <cstdint>
#include <string>

struct SplitPoints {
    std::uint32_t introBytes = 0; // the introduction file's data: the piece's first bytes, up to the cut
    std::uint32_t loopStart = 0;  // the loop within the piece's data: loop_start and loop_size
    std::uint32_t loopSize = 0;
    std::uint32_t loopBytes = 0; // the loop file's data: as many bytes as the loop holds whole frames
};

// The cut of a piece whose loop lies within its data. A format of no whole byte a frame
// (blockAlign 0) is cut at loop_start, as if a frame were a byte.
SplitPoints splitPoints(const MusicEntry& entry);

// The output name with mark ("-intro", "-loop", or "" for none) put before its extension (from its last '.'), or
// at its end when it has none.
std::string splitName(const std::string& shiftJisName, const char* mark);
