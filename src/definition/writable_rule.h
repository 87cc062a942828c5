#pragma once
// Whether a piece can be written, judged from the definition, the loop count and the fade seconds
// alone, before any file is touched. The conversion run refuses pieces by this rule, and the list,
// its totals and morlo-cli list show it, so the figures never promise a file that no run writes.
// Reasons that need the BGM files or the output folder are only known during a run.
#include "definition/music_entry.h"
#include "definition/output_options.h"

#include <cstdint>

// Why the definition alone refuses a piece; what needs the BGM files, the output folder or the
// format is the run's to find (convert/piece_result.h).
enum class PieceRefusal {
    None,             // the piece can be written
    NameLost,         // the definition's output name holds characters Shift-JIS lacks (saved as Unicode)
    NameLeavesFolder, // the definition's output name is not a plain file name
    LoopPastData,     // loop_start + loop_size > wave_size
    TooLarge,         // the file would not fit a RIFF header's 32-bit sizes
};

// The first reason, in this order, that refuses the piece; None when there is none.
// trailingBytes: what the file carries behind its data, which counts toward the size limit.
PieceRefusal pieceRefusal(const MusicEntry& entry, const OutputOptions& options, std::uint32_t trailingBytes = 0);
