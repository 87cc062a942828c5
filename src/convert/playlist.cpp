#include "convert/playlist.h"

#include "definition/figures.h"
#include "platform/native_text.h"

std::string playlistText(const LoopDefinition& definition, const std::vector<std::int32_t>& rows,
                         std::uint32_t loopCount, FadeRequest fade, const PieceWriter& writer)
{
    std::string text = "#EXTM3U\n";
    for (std::int32_t row : rows) {
        const MusicEntry& entry = definition.entries().at(static_cast<std::size_t>(row));
        const PieceFigures figures = pieceFigures(entry, loopCount, fade);
        const std::string seconds = figures.timeKnown ? std::to_string(figures.playSeconds) : "-1";
        text += "#EXTINF:" + seconds + "," + utf8Text(entry.title) + "\n" + utf8Text(writer.outputName(entry.file)) + "\n";
    }
    return text;
}

WholeFileResult writePlaylist(const std::string& path, const std::string& text, ConversionFrontEnd& frontEnd)
{
    const WholeFileResult allowed = mayWrite(path, frontEnd);
    if (allowed.outcome != PieceOutcome::Completed)
        return allowed;
    return writeWholeFile(path, [&text](FileHandle& output) {
        const auto length = static_cast<std::uint32_t>(text.size());
        return output.write(reinterpret_cast<const std::uint8_t*>(text.data()), length) == length
                   ? PieceOutcome::Completed
                   : PieceOutcome::Failed;
    });
}
