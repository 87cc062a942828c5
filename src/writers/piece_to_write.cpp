#include "writers/piece_to_write.h"

#include "definition/figures.h"

PieceToWrite pieceToWrite(const LoopDefinition& definition, std::size_t row, const OutputOptions& options)
{
    const MusicEntry& entry = definition.entries()[row];
    return PieceToWrite{entry, pieceTags(definition, row), pieceOptions(entry, options)};
}
