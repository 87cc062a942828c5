#include "convert/convert_pieces.h"

#include "convert/piece_conversion.h"
#include "convert/worker_run.h"
#include "definition/figures.h"
#include "platform/file_handle.h"

#include <thread>

namespace {

// Nothing to ask, remove or rename: what was written has been read already.
PieceResult writeStandardOutput(const PieceToWrite& piece, const PieceWriter& writer, WaveBuffer& buffer,
                                ConversionHooks& steps)
{
    FileHandle output;
    if (!output.openStandardOutput())
        return PieceResult::failed(PieceFailure::CannotCreate);
    switch (writer.write(output, piece, buffer, steps)) {
    case PieceOutcome::Completed:
        return {};
    case PieceOutcome::Cancelled:
        return PieceResult::ended(PieceEnd::Cancelled);
    case PieceOutcome::Failed:
        break;
    }
    return PieceResult::failed(output.readerGone() ? PieceFailure::ReaderGone : PieceFailure::WriteFailed);
}

// Tells the front end of a failure and makes up the steps of a piece that ended early; a cancelled
// piece ends the run, whose progress need not end full.
void conclude(const PieceToWrite& piece, const PieceResult& result, ConversionFrontEnd& frontEnd, PieceSteps& steps)
{
    if (toldAsFailure(result))
        frontEnd.pieceFailed(piece, result);
    if (result.end == PieceEnd::Failed || result.end == PieceEnd::Skipped)
        steps.makeUpRest();
}

// The whole piece on the calling thread, read and written with buffer.
PieceResult convertPiece(const PieceToWrite& piece, const PieceWriter& writer, WaveBuffer& buffer,
                         ConversionFrontEnd& frontEnd)
{
    PieceSteps steps(frontEnd, pieceSteps(piece.options.loopCount));
    std::string outputPath;
    PieceResult result = readPiece(piece, writer, buffer, frontEnd, steps, outputPath);
    if (result.end == PieceEnd::Written)
        result = piece.options.toStandardOutput ? writeStandardOutput(piece, writer, buffer, steps)
                                                : writePieceFile(outputPath, piece, writer, buffer, steps);
    conclude(piece, result, frontEnd, steps);
    return result;
}

} // namespace

bool mayWrite(const std::string& outputPath, ConversionFrontEnd& frontEnd, PieceResult& ending)
{
    if (!pathExists(outputPath))
        return true;
    const OverwriteAnswer answer = frontEnd.confirmOverwrite(outputPath);
    // A cancel while the question waited is no answer: the file stays, the run ends.
    if (frontEnd.isCancelled())
        ending = PieceResult::ended(PieceEnd::Cancelled);
    else if (answer == OverwriteAnswer::Skip)
        ending = PieceResult::ended(PieceEnd::Skipped);
    else if (answer != OverwriteAnswer::Replace)
        ending = PieceResult::failed(PieceFailure::OverwriteRefused);
    else if (isReadOnlyFile(outputPath))
        ending = PieceResult::failed(PieceFailure::OutputReadOnly);
    else
        return true;
    return false;
}

// The file goes to a name of its own first; the output's name changes hands only once that file
// is complete and on the disk, so a full disk, a cancel or a killed process never leaves a
// broken file under it nor loses the file that was there.
PieceResult writeWholeFile(const std::string& outputPath, const std::function<PieceOutcome(FileHandle&)>& write)
{
    const std::string path = unfinishedPath(outputPath);
    // Only a run that was killed leaves a file of this name behind.
    deleteFile(path);
    FileHandle output;
    if (!output.createWrite(path))
        return PieceResult::failed(PieceFailure::CannotCreate);
    PieceOutcome outcome = write(output);
    if (outcome == PieceOutcome::Completed && (!output.flush() || !output.close()))
        outcome = PieceOutcome::Failed;
    PieceResult result = outcome == PieceOutcome::Cancelled ? PieceResult::ended(PieceEnd::Cancelled)
                                                            : PieceResult::failed(PieceFailure::WriteFailed);
    if (outcome == PieceOutcome::Completed) {
        if (replaceFile(path, outputPath)) {
            PieceResult written;
            std::uint64_t bytes = 0;
            if (fileSize(outputPath, bytes))
                written.fileBytes = bytes;
            return written;
        }
        result.failure = PieceFailure::CannotRename;
    }
    // Closed first, because an open file cannot be deleted on every system.
    output.close();
    if (!deleteFile(path))
        result.failure = PieceFailure::CannotRemove;
    return result;
}

// Even a one-byte output name with the ending is longer than any definition's name, the names
// other formats give end in their own extension, and a split piece's in its mark or the
// definition's own extension, which is shorter than the ending.
static_assert(sizeof unfinishedEnding > MusicEntry::fileNameBytes, "an unfinished name could be an output's");

std::string unfinishedPath(const std::string& outputPath) { return outputPath + unfinishedEnding; }

std::uint64_t conversionSteps(std::size_t rows, std::uint32_t loopCount)
{
    return static_cast<std::uint64_t>(rows) * (loopCount + 2ull) + 1;
}

std::uint64_t conversionSteps(const LoopDefinition& definition, const std::vector<std::int32_t>& rows,
                              const OutputOptions& options)
{
    std::uint64_t steps = conversionSteps(0, options.loopCount);
    for (const PieceFile& file : pieceFiles(definition, rows, options)) {
        const bool known = file.row >= 0 && static_cast<std::size_t>(file.row) < definition.entries().size();
        steps += pieceSteps(known ? pieceToWrite(definition, static_cast<std::size_t>(file.row), options, file.part)
                                        .options.loopCount
                                  : options.loopCount);
    }
    return steps;
}

ConversionCounts convertPieces(const LoopDefinition& definition, const OutputOptions& options,
                               const std::vector<std::int32_t>& rows, ConversionFrontEnd& frontEnd)
{
    WaveFileWriter wave;
    return convertPieces(definition, options, rows, frontEnd, wave);
}

ConversionCounts convertPieces(const LoopDefinition& definition, const OutputOptions& options,
                               const std::vector<std::int32_t>& rows, ConversionFrontEnd& frontEnd,
                               const PieceWriter& writer)
{
    ConversionCounts counts;
    WaveBuffer buffer;
    buffer.reserve(waveBufferReserve);
    const std::vector<MusicEntry>& entries = definition.entries();
    const MusicEntry missing;
    for (const PieceFile& file : pieceFiles(definition, rows, options)) {
        const std::int32_t row = file.row;
        PieceResult result;
        if (row >= 0 && static_cast<std::size_t>(row) < entries.size()) {
            result = convertPiece(pieceToWrite(definition, static_cast<std::size_t>(row), options, file.part), writer,
                                  buffer, frontEnd);
        } else {
            PieceSteps steps(frontEnd, pieceSteps(options.loopCount));
            result = PieceResult::failed(PieceFailure::NoSuchPiece);
            conclude(PieceToWrite{missing, PieceTags(), options, PiecePart::Whole, {}}, result, frontEnd, steps);
        }
        countPiece(counts, file, result);
        if (result.end == PieceEnd::Cancelled)
            break;
    }
    return counts;
}

ConversionCounts convertPieces(const LoopDefinition& definition, const OutputOptions& options,
                               const std::vector<std::int32_t>& rows, ConversionFrontEnd& frontEnd,
                               const PieceWriter& writer, unsigned workers)
{
    // WAVE files wait on the disk, not the processor, and standard output takes a single piece:
    // both go one piece at a time, as does a single worker.
    if (workers <= 1 || !writer.processorBound() || options.toStandardOutput)
        return convertPieces(definition, options, rows, frontEnd, writer);
    return convertWithWorkers(definition, options, rows, frontEnd, writer, workers);
}

unsigned processorCount()
{
    const unsigned processors = std::thread::hardware_concurrency();
    return processors > 0 ? processors : 1;
}
