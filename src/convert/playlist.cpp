#include "convert/playlist.h"

#include "definition/figures.h"
#include "platform/native_text.h"

std::string playlistText(const LoopDefinition& definition, const std::vector<PieceFile>& files,
                         const OutputOptions& options)
{
    std::string text = "#EXTM3U\n";
    for (const PieceFile& file : files) {
        const PieceToWrite piece = pieceToWrite(definition, static_cast<std::size_t>(file.row), options, file.part);
        const PieceFigures figures = pieceFigures(piece.entry, piece.options);
        const std::string seconds = figures.timeKnown ? std::to_string(figures.playSeconds) : "-1";
        text += "#EXTINF:" + seconds + "," + utf8Text(piece.tags.title) + "\n" + utf8Text(outputName(piece)) + "\n";
    }
    return text;
}

PieceResult writePlaylist(const std::string& path, const std::string& text, ConversionFrontEnd& frontEnd)
{
    PieceResult ending;
    if (!mayWrite(path, frontEnd, ending))
        return ending;
    return writeWholeFile(path, [&text](FileHandle& output) {
        const auto length = static_cast<std::uint32_t>(text.size());
        return output.write(reinterpret_cast<const std::uint8_t*>(text.data()), length) == length
                   ? PieceOutcome::Completed
                   : PieceOutcome::Failed;
    });
}
