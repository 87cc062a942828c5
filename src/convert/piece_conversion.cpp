#include "convert/piece_conversion.h"

#include "platform/file_handle.h"
#include "platform/native_text.h"

namespace {

// The definition's reason first, then the format's; Written when nothing refuses the piece.
PieceResult refusalOf(const PieceToWrite& piece, const PieceWriter& writer)
{
    PieceResult result;
    result.refusal = pieceRefusal(piece.entry, piece.options, writer.trailingBytes(piece));
    if (result.refusal != PieceRefusal::None) {
        result.end = PieceEnd::Failed;
        result.failure = PieceFailure::Refused;
        return result;
    }
    result.format = writer.refusal(piece.entry);
    if (result.format.refuses()) {
        result.end = PieceEnd::Failed;
        result.failure = PieceFailure::FormatCannotHold;
    }
    return result;
}

} // namespace

PieceResult readPiece(const PieceToWrite& piece, const PieceWriter& writer, WaveBuffer& buffer,
                      ConversionFrontEnd& frontEnd, ConversionHooks& steps, std::string& outputPath)
{
    const MusicEntry& entry = piece.entry;
    const OutputOptions& options = piece.options;
    frontEnd.showReading(piece);
    const PieceResult refused = refusalOf(piece, writer);
    if (refused.end != PieceEnd::Written)
        return refused;

    FileHandle source;
    if (!source.openRead(joinPath(options.bgmFolder, utf8Text(entry.wave_file))))
        return PieceResult::failed(PieceFailure::SourceMissing);
    switch (readSourceRange(source, entry, buffer, steps)) {
    case PieceOutcome::Completed:
        break;
    case PieceOutcome::Cancelled:
        return PieceResult::ended(PieceEnd::Cancelled);
    case PieceOutcome::Failed:
        return PieceResult::failed(PieceFailure::ShortSource);
    }
    arrangeForPart(piece, buffer);

    frontEnd.showWriting(piece);
    if (options.toStandardOutput)
        return {};
    outputPath = joinPath(options.outputFolder, utf8Text(outputName(piece)));
    PieceResult ending;
    return mayWrite(outputPath, frontEnd, ending) ? PieceResult() : ending;
}

PieceResult writePieceFile(const std::string& outputPath, const PieceToWrite& piece, const PieceWriter& writer,
                           WaveBuffer& buffer, ConversionHooks& steps)
{
    return writeWholeFile(outputPath,
                          [&](FileHandle& output) { return writer.write(output, piece, buffer, steps); });
}

bool toldAsFailure(const PieceResult& result)
{
    return result.end == PieceEnd::Failed ||
           (result.end == PieceEnd::Cancelled && result.failure == PieceFailure::CannotRemove);
}

void countPiece(ConversionCounts& counts, const PieceFile& file, const PieceResult& result)
{
    counts.ends.emplace_back(file, result);
    switch (result.end) {
    case PieceEnd::Written:
        ++counts.successes;
        counts.written.push_back(file);
        break;
    case PieceEnd::Failed:
        ++counts.failures;
        if (result.failure == PieceFailure::OverwriteRefused)
            counts.kept.push_back(file);
        break;
    case PieceEnd::Skipped:
        ++counts.skipped;
        counts.kept.push_back(file);
        break;
    case PieceEnd::Cancelled:
        // The unfinished file that stayed is the piece's failure.
        if (result.failure == PieceFailure::CannotRemove) {
            counts.partLeft = true;
            ++counts.failures;
        }
        counts.cancelled = true;
        break;
    }
}
