#include "definition/writable_rule.h"

#include "definition/file_name.h"
#include "definition/output_rule.h"

PieceFailure pieceRefusal(const MusicEntry& entry, std::uint32_t loopCount, FadeRequest fade,
                          std::uint32_t trailingBytes)
{
    // Written with '?' for what it lacks, the name would be another file's, or none on Windows.
    if (entry.fileLost)
        return PieceFailure::NameLost;
    if (!isPlainFileName(entry.file))
        return PieceFailure::NameLeavesFolder;
    if (!loopLiesInData(entry))
        return PieceFailure::LoopPastData;
    if (!fitsWaveHeader(entry, loopCount, fade, trailingBytes))
        return PieceFailure::TooLarge;
    return PieceFailure::None;
}
