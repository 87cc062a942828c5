#include "writers/piece_to_write.h"

PieceToWrite pieceToWrite(const LoopDefinition& definition, std::size_t row, const OutputOptions& options)
{
    return PieceToWrite{definition.entries()[row], pieceTags(definition, row), options};
}
