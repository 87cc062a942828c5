#include "writers/piece_to_write.h"

#include "definition/output_rule.h"

PieceToWrite pieceToWrite(const LoopDefinition& definition, std::size_t row, const OutputOptions& options)
{
    return PieceToWrite{definition.entries()[row], pieceTags(definition, row), options};
}

std::string outputName(const PieceToWrite& piece) { return outputName(piece.entry, piece.tags.track, piece.options); }
