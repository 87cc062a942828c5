#include "definition/writable_rule.h"

#include "definition/file_name.h"
#include "definition/output_rule.h"

PieceRefusal pieceRefusal(const MusicEntry& entry, std::uint32_t loopCount, std::uint32_t fadeSeconds)
{
    if (!isPlainFileName(entry.file))
        return PieceRefusal::NameLeavesFolder;
    if (!loopLiesInData(entry))
        return PieceRefusal::LoopPastData;
    if (!fitsWaveHeader(entry, loopCount, fadeSeconds))
        return PieceRefusal::TooLarge;
    return PieceRefusal::None;
}
