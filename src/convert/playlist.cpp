#include "convert/playlist.h"

#include "definition/figures.h"
#include "platform/native_text.h"

std::string playlistText(const LoopDefinition& definition, const std::vector<std::int32_t>& rows,
                         const OutputOptions& options)
{
    std::string text = "#EXTM3U\n";
    for (std::int32_t row : rows) {
        const MusicEntry& entry = definition.entries().at(static_cast<std::size_t>(row));
        const PieceFigures figures = pieceFigures(entry, options);
        const std::string seconds = figures.timeKnown ? std::to_string(figures.playSeconds) : "-1";
        const std::string name = outputName(pieceToWrite(definition, static_cast<std::size_t>(row), options));
        text += "#EXTINF:" + seconds + "," + utf8Text(entry.title) + "\n" + utf8Text(name) + "\n";
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
