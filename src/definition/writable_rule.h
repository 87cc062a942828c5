#pragma once
// Whether a piece can be written, judged from the definition, the loop count and the fade seconds
// alone, before any file is touched. The conversion run refuses pieces by this rule, and the list,
// its totals and morlo-cli list show it, so the figures never promise a file that no run writes.
// Reasons that need the BGM files or the output folder are only known during a run.
#include "definition/music_entry.h"
#include "definition/output_options.h"

#include <cstdint>

// Every reason a piece is not written: the first four come from the definition alone.
enum class PieceFailure {
    None,             // the piece can be written
    NameLost,         // the output name holds characters Shift-JIS lacks (a definition saved as Unicode)
    NameLeavesFolder, // the output name is not a plain file name
    LoopPastData,     // loop_start + loop_size > wave_size
    TooLarge,         // the file would not fit a RIFF header's 32-bit sizes
    NoSuchPiece,      // the row names no entry of the definition
    SourceMissing,    // the BGM wave file cannot be opened
    ShortSource,      // the BGM wave file ends before the piece's data does, or no memory for it
    OverwriteRefused, // the output file exists and the user said no
    OutputReadOnly,   // the output file exists, the user said yes, but it is read-only
    CannotCreate,     // the unfinished file cannot be created in the output folder
    WriteFailed,      // a write, the flush or the close failed or fell short (a full disk)
    CannotRename,     // the finished file could not take the output's name
    CannotRemove,     // the piece failed or was cancelled, and its unfinished file stayed
    FormatCannotHold, // the chosen format cannot hold the piece (its channels, bits or rate)
    ReaderGone,       // the program reading standard output has closed it
    Skipped,          // the output file exists and the front end keeps it as skipped, not failed
};

// The first reason, in this order, that refuses the piece; None when there is none.
// trailingBytes: what the file carries behind its data (waveTrailerSize), which counts toward the
// size limit.
PieceFailure pieceRefusal(const MusicEntry& entry, std::uint32_t loopCount, FadeRequest fade,
                          std::uint32_t trailingBytes = 0);
