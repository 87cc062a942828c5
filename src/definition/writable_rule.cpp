#include "definition/writable_rule.h"

#include "definition/file_name.h"
#include "definition/output_rule.h"

PieceRefusal pieceRefusal(const MusicEntry& entry, const OutputOptions& options, std::uint32_t trailingBytes)
{
    // Written with '?' for what it lacks, the name would be another file's, or none on Windows.
    if (entry.fileLost)
        return PieceRefusal::NameLost;
    if (!isPlainFileName(entry.file))
        return PieceRefusal::NameLeavesFolder;
    if (!loopLiesInData(entry))
        return PieceRefusal::LoopPastData;
    if (!fitsWaveHeader(entry, options, trailingBytes))
        return PieceRefusal::TooLarge;
    return PieceRefusal::None;
}
