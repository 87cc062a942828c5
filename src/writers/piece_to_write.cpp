#include "writers/piece_to_write.h"

#include "definition/figures.h"
#include "definition/output_rule.h"
#include "definition/writable_rule.h"

PieceToWrite pieceToWrite(const LoopDefinition& definition, std::size_t row, const OutputOptions& options,
                          PiecePart part)
{
    const MusicEntry& whole = definition.entries()[row];
    PieceToWrite piece{whole, pieceTags(definition, row), pieceOptions(whole, options), part, {}};
    if (part == PiecePart::Whole)
        return piece;
    MusicEntry& entry = piece.entry;
    piece.cut = splitPoints(entry);
    piece.options.loopCount = part == PiecePart::Loop ? 1 : 0;
    piece.options.fadeSeconds = 0;
    piece.options.choices.fullFade = false;
    if (part == PiecePart::Introduction) {
        entry.loop_start = piece.cut.introBytes;
        entry.loop_size = 0;
        return piece;
    }
    entry.loop_start = 0;
    entry.loop_size = piece.cut.loopBytes;
    // An empty title stays empty, so that players show the file's name, which tells the loop.
    if (!piece.tags.title.empty())
        piece.tags.title += loopTitleMark;
    return piece;
}

std::vector<PieceFile> pieceFiles(const LoopDefinition& definition, const std::vector<std::int32_t>& rows,
                                  const OutputOptions& options)
{
    std::vector<PieceFile> files;
    const std::vector<MusicEntry>& entries = definition.entries();
    for (std::int32_t row : rows) {
        const bool known = row >= 0 && static_cast<std::size_t>(row) < entries.size();
        const PieceRefusal refusal = known ? pieceRefusal(entries[static_cast<std::size_t>(row)], options) : PieceRefusal::None;
        if (!options.split || !known || (refusal != PieceRefusal::None && refusal != PieceRefusal::TooLarge)) {
            files.push_back({row, PiecePart::Whole});
            continue;
        }
        const SplitPoints cut = splitPoints(entries[static_cast<std::size_t>(row)]);
        if (cut.introBytes > 0)
            files.push_back({row, PiecePart::Introduction});
        if (cut.loopBytes > 0 || cut.introBytes == 0)
            files.push_back({row, PiecePart::Loop});
    }
    return files;
}

const char* partName(PiecePart part)
{
    switch (part) {
    case PiecePart::Introduction:
        return "intro";
    case PiecePart::Loop:
        return "loop";
    case PiecePart::Whole:
        break;
    }
    return "whole";
}

std::string outputName(const PieceToWrite& piece)
{
    const std::string mark = piece.part == PiecePart::Whole ? "" : std::string("-") + partName(piece.part);
    return outputName(piece.entry, piece.tags.track, piece.options, mark.c_str());
}
