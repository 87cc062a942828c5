#include "writers/piece_writer.h"

PieceFigures formatFigures(const PieceWriter& writer, const MusicEntry& entry, std::uint32_t loopCount,
                           FadeRequest fade)
{
    PieceFigures figures = pieceFigures(entry, loopCount, fade);
    figures.writable = figures.writable && !writer.refusal(entry).refuses();
    return figures;
}
