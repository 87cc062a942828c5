#include "convert/convert_pieces.h"

#include "writers/wave_trailer.h"
#include "definition/writable_rule.h"
#include "platform/file_handle.h"
#include "platform/native_text.h"

namespace {

// Passes the front end's hooks on and counts the steps one piece has made, so that a failed
// piece can make up the rest and the progress still ends full.
class PieceSteps : public ConversionHooks {
public:
    PieceSteps(ConversionFrontEnd& frontEnd, std::uint32_t loopCount) : frontEnd_(frontEnd), due_(loopCount + 2ull) {}

    void step() override
    {
        ++made_;
        frontEnd_.step();
    }
    void yieldOnce() override { frontEnd_.yieldOnce(); }
    bool isCancelled() override { return frontEnd_.isCancelled(); }

    void makeUpRest()
    {
        while (made_ < due_)
            step();
    }

private:
    ConversionFrontEnd& frontEnd_;
    std::uint64_t due_;
    std::uint64_t made_ = 0;
};

enum class PieceResult { Written, Failed, Skipped, Cancelled, CancelledPartLeft };

class PieceConversion {
public:
    PieceConversion(const PieceToWrite& piece, PieceWriter& writer, WaveBuffer& buffer, ConversionFrontEnd& frontEnd)
        : piece_(piece), entry_(piece.entry), options_(piece.options), writer_(writer), buffer_(buffer),
          frontEnd_(frontEnd), steps_(frontEnd, piece.options.loopCount)
    {
    }

    PieceResult run()
    {
        frontEnd_.showReading(entry_);
        PieceFailure refusal = pieceRefusal(entry_, options_.loopCount, requestedFade(options_),
                                            static_cast<std::uint32_t>(writer_.trailer(piece_).size()));
        if (refusal != PieceFailure::None)
            return fail(refusal);
        if (writer_.refusal(entry_).refuses())
            return fail(PieceFailure::FormatCannotHold);

        FileHandle source;
        if (!source.openRead(joinPath(options_.bgmFolder, utf8Text(entry_.wave_file))))
            return fail(PieceFailure::SourceMissing);
        PieceOutcome read = readSourceRange(source, entry_, buffer_, steps_);
        if (read != PieceOutcome::Completed)
            return finish(read, PieceFailure::ShortSource);

        frontEnd_.showWriting(entry_);
        if (options_.toStandardOutput)
            return writeStandardOutput();
        const std::string outputPath = joinPath(options_.outputFolder, utf8Text(writer_.outputName(entry_.file)));
        const WholeFileResult allowed = mayWrite(outputPath, frontEnd_);
        if (allowed.failure == PieceFailure::Skipped) {
            steps_.makeUpRest();
            return PieceResult::Skipped;
        }
        if (allowed.outcome != PieceOutcome::Completed)
            return finish(allowed.outcome, allowed.failure);
        const WholeFileResult written = writeWholeFile(
            outputPath, [this](FileHandle& output) { return writer_.write(output, piece_, buffer_, steps_); });
        if (written.outcome == PieceOutcome::Cancelled && written.failure == PieceFailure::CannotRemove) {
            frontEnd_.pieceFailed(entry_, PieceFailure::CannotRemove);
            return PieceResult::CancelledPartLeft;
        }
        return finish(written.outcome, written.failure);
    }

    PieceResult fail(PieceFailure failure)
    {
        frontEnd_.pieceFailed(entry_, failure);
        steps_.makeUpRest();
        return PieceResult::Failed;
    }

private:
    // Nothing to ask, remove or rename: what was written has been read already.
    PieceResult writeStandardOutput()
    {
        FileHandle output;
        if (!output.openStandardOutput())
            return fail(PieceFailure::CannotCreate);
        PieceOutcome written = writer_.write(output, piece_, buffer_, steps_);
        return finish(written, output.readerGone() ? PieceFailure::ReaderGone : PieceFailure::WriteFailed);
    }

    PieceResult finish(PieceOutcome outcome, PieceFailure failure)
    {
        switch (outcome) {
        case PieceOutcome::Completed:
            return PieceResult::Written;
        case PieceOutcome::Cancelled:
            return PieceResult::Cancelled;
        case PieceOutcome::Failed:
            break;
        }
        return fail(failure);
    }

    const PieceToWrite& piece_;
    const MusicEntry& entry_;
    const OutputOptions& options_;
    PieceWriter& writer_;
    WaveBuffer& buffer_;
    ConversionFrontEnd& frontEnd_;
    PieceSteps steps_;
};

} // namespace

WholeFileResult mayWrite(const std::string& outputPath, ConversionFrontEnd& frontEnd)
{
    if (!pathExists(outputPath))
        return {};
    const OverwriteAnswer answer = frontEnd.confirmOverwrite(outputPath);
    // A cancel while the question waited is no answer: the file stays, the run ends.
    if (frontEnd.isCancelled())
        return {PieceOutcome::Cancelled, PieceFailure::None};
    if (answer == OverwriteAnswer::Skip)
        return {PieceOutcome::Failed, PieceFailure::Skipped};
    if (answer != OverwriteAnswer::Replace)
        return {PieceOutcome::Failed, PieceFailure::OverwriteRefused};
    if (isReadOnlyFile(outputPath))
        return {PieceOutcome::Failed, PieceFailure::OutputReadOnly};
    return {};
}

// The file goes to a name of its own first; the output's name changes hands only once that file
// is complete and on the disk, so a full disk, a cancel or a killed process never leaves a
// broken file under it nor loses the file that was there.
WholeFileResult writeWholeFile(const std::string& outputPath, const std::function<PieceOutcome(FileHandle&)>& write)
{
    const std::string path = unfinishedPath(outputPath);
    // Only a run that was killed leaves a file of this name behind.
    deleteFile(path);
    FileHandle output;
    if (!output.createWrite(path))
        return {PieceOutcome::Failed, PieceFailure::CannotCreate};
    WholeFileResult result{write(output), PieceFailure::WriteFailed};
    if (result.outcome == PieceOutcome::Completed && (!output.flush() || !output.close()))
        result.outcome = PieceOutcome::Failed;
    if (result.outcome == PieceOutcome::Completed) {
        if (replaceFile(path, outputPath))
            return {};
        result = {PieceOutcome::Failed, PieceFailure::CannotRename};
    }
    // Closed first, because an open file cannot be deleted on every system.
    output.close();
    if (!deleteFile(path))
        result.failure = PieceFailure::CannotRemove;
    return result;
}

// Even a one-byte output name with the ending is longer than any definition's name, and the
// names other formats give end in their own extension.
static_assert(sizeof unfinishedEnding > MusicEntry::fileNameBytes, "an unfinished name could be an output's");

std::string unfinishedPath(const std::string& outputPath) { return outputPath + unfinishedEnding; }

std::uint64_t conversionSteps(std::size_t rows, std::uint32_t loopCount)
{
    return static_cast<std::uint64_t>(rows) * (loopCount + 2ull) + 1;
}

ConversionCounts convertPieces(const LoopDefinition& definition, const OutputOptions& options,
                               const std::vector<std::int32_t>& rows, ConversionFrontEnd& frontEnd)
{
    WaveFileWriter wave;
    return convertPieces(definition, options, rows, frontEnd, wave);
}

ConversionCounts convertPieces(const LoopDefinition& definition, const OutputOptions& options,
                               const std::vector<std::int32_t>& rows, ConversionFrontEnd& frontEnd,
                               PieceWriter& writer)
{
    ConversionCounts counts;
    WaveBuffer buffer;
    buffer.reserve(waveBufferReserve);
    const std::vector<MusicEntry>& entries = definition.entries();
    const MusicEntry missing;
    for (std::int32_t row : rows) {
        bool known = row >= 0 && static_cast<std::size_t>(row) < entries.size();
        const PieceTags tags = known ? pieceTags(definition, static_cast<std::size_t>(row)) : PieceTags();
        const PieceToWrite toWrite{known ? entries[static_cast<std::size_t>(row)] : missing, tags, options};
        PieceConversion piece(toWrite, writer, buffer, frontEnd);
        PieceResult result = known ? piece.run() : piece.fail(PieceFailure::NoSuchPiece);
        if (result == PieceResult::Cancelled || result == PieceResult::CancelledPartLeft) {
            counts.partLeft = result == PieceResult::CancelledPartLeft;
            counts.failures += counts.partLeft ? 1 : 0;
            counts.cancelled = true;
            break;
        }
        ++(result == PieceResult::Written ? counts.successes
           : result == PieceResult::Skipped ? counts.skipped
                                            : counts.failures);
        if (result == PieceResult::Written)
            counts.written.push_back(row);
    }
    return counts;
}
