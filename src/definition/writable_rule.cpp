#include "definition/writable_rule.h"

#include "definition/file_name.h"
#include "definition/output_rule.h"

PieceFailure pieceRefusal(const MusicEntry& entry, std::uint32_t loopCount, std::uint32_t fadeSeconds,
                          std::uint32_t trailingBytes)
{
    if (!isPlainFileName(entry.file))
        return PieceFailure::NameLeavesFolder;
    if (!loopLiesInData(entry))
        return PieceFailure::LoopPastData;
    if (!fitsWaveHeader(entry, loopCount, fadeSeconds, trailingBytes))
        return PieceFailure::TooLarge;
    return PieceFailure::None;
}
