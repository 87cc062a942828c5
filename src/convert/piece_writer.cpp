#include "convert/piece_writer.h"

PieceFigures formatFigures(const PieceWriter& writer, const MusicEntry& entry, std::uint32_t loopCount,
                           std::uint32_t fadeSeconds)
{
    PieceFigures figures = pieceFigures(entry, loopCount, fadeSeconds);
    figures.writable = figures.writable && writer.refusal(entry).empty();
    return figures;
}
