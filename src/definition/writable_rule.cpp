#include "definition/writable_rule.h"

#include "definition/file_name.h"
#include "definition/output_rule.h"

PieceRefusal pieceRefusal(const MusicEntry& entry, const OutputOptions& options, std::uint32_t trailingBytes)
{
    // A name made from the title is plain by its making, whatever the file key holds.
    const bool namedByFileKey = options.names == OutputNames::Definition;
    // Written with '?' for what it lacks, the name would be another file's, or none on Windows.
    if (namedByFileKey && entry.fileLost)
        return PieceRefusal::NameLost;
    if (namedByFileKey && !isPlainFileName(entry.file))
        return PieceRefusal::NameLeavesFolder;
    if (!loopLiesInData(entry))
        return PieceRefusal::LoopPastData;
    if (!fitsWaveHeader(entry, options, trailingBytes))
        return PieceRefusal::TooLarge;
    return PieceRefusal::None;
}
