#include "writers/piece_writer.h"

#include "definition/output_rule.h"
#include "writers/wave_trailer.h"

PieceFigures figuresOf(const PieceToWrite& piece, const PieceWriter& writer)
{
    PieceFigures figures = pieceFigures(piece.entry, piece.options, writer.trailingBytes(piece));
    figures.writable = figures.writable && !writer.refusal(piece.entry).refuses();
    figures.sizeKnown = writer.knowsSizeBeforeWriting();
    return figures;
}

std::uint32_t WaveFileWriter::trailingBytes(const PieceToWrite& piece) const
{
    return static_cast<std::uint32_t>(waveTrailer(piece).size());
}

std::optional<std::uint64_t> WaveFileWriter::sizeBeforeWriting(const PieceToWrite& piece) const
{
    return exactFileSize(piece.entry, piece.options, bytesPerSecond(piece.entry)) + trailingBytes(piece);
}
