#pragma once
// Whether a piece can be written, judged from the definition, the loop count and the fade seconds
// alone, before any file is touched. The conversion run refuses pieces by this rule, and the list,
// its totals and morlo-cli list show it, so the figures never promise a file that no run writes.
// Reasons that need the BGM files (missing or too short) are only known during a run.
#include "definition/music_entry.h"

#include <cstdint>

enum class PieceRefusal {
    None,             // the piece can be written
    NameLeavesFolder, // the output name is not a plain file name
    LoopPastData,     // loop_start + loop_size > wave_size
    TooLarge,         // the file would not fit a RIFF header's 32-bit sizes
};

// The first reason, in this order, that refuses the piece; None when there is none.
PieceRefusal pieceRefusal(const MusicEntry& entry, std::uint32_t loopCount, std::uint32_t fadeSeconds);
