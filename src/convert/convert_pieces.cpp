#include "convert/convert_pieces.h"

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
        const PieceResult refused = refusalOf(piece_, writer_);
        if (refused.end != PieceEnd::Written)
            return fail(refused);

        FileHandle source;
        if (!source.openRead(joinPath(options_.bgmFolder, utf8Text(entry_.wave_file))))
            return fail(PieceResult::failed(PieceFailure::SourceMissing));
        PieceOutcome read = readSourceRange(source, entry_, buffer_, steps_);
        if (read != PieceOutcome::Completed)
            return finish(read, PieceFailure::ShortSource);

        frontEnd_.showWriting(entry_);
        if (options_.toStandardOutput)
            return writeStandardOutput();
        const std::string outputPath = joinPath(options_.outputFolder, utf8Text(writer_.outputName(entry_.file)));
        PieceResult ending;
        if (!mayWrite(outputPath, frontEnd_, ending)) {
            if (ending.end == PieceEnd::Skipped)
                steps_.makeUpRest();
            return ending.end == PieceEnd::Failed ? fail(ending) : ending;
        }
        const PieceResult written = writeWholeFile(
            outputPath, [this](FileHandle& output) { return writer_.write(output, piece_, buffer_, steps_); });
        if (written.end == PieceEnd::Cancelled && written.failure == PieceFailure::CannotRemove)
            frontEnd_.pieceFailed(entry_, written);
        return written.end == PieceEnd::Failed ? fail(written) : written;
    }

    PieceResult fail(const PieceResult& result)
    {
        frontEnd_.pieceFailed(entry_, result);
        steps_.makeUpRest();
        return result;
    }

private:
    // The definition's reason first, then the format's; Written when nothing refuses the piece.
    static PieceResult refusalOf(const PieceToWrite& piece, const PieceWriter& writer)
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

    // Nothing to ask, remove or rename: what was written has been read already.
    PieceResult writeStandardOutput()
    {
        FileHandle output;
        if (!output.openStandardOutput())
            return fail(PieceResult::failed(PieceFailure::CannotCreate));
        PieceOutcome written = writer_.write(output, piece_, buffer_, steps_);
        return finish(written, output.readerGone() ? PieceFailure::ReaderGone : PieceFailure::WriteFailed);
    }

    PieceResult finish(PieceOutcome outcome, PieceFailure failure)
    {
        switch (outcome) {
        case PieceOutcome::Completed:
            return {};
        case PieceOutcome::Cancelled:
            return PieceResult::ended(PieceEnd::Cancelled);
        case PieceOutcome::Failed:
            break;
        }
        return fail(PieceResult::failed(failure));
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
        if (replaceFile(path, outputPath))
            return {};
        result.failure = PieceFailure::CannotRename;
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
        const PieceToWrite toWrite = known ? pieceToWrite(definition, static_cast<std::size_t>(row), options)
                                           : PieceToWrite{missing, PieceTags(), options};
        PieceConversion piece(toWrite, writer, buffer, frontEnd);
        const PieceResult result = known ? piece.run() : piece.fail(PieceResult::failed(PieceFailure::NoSuchPiece));
        switch (result.end) {
        case PieceEnd::Written:
            ++counts.successes;
            counts.written.push_back(row);
            break;
        case PieceEnd::Failed:
            ++counts.failures;
            break;
        case PieceEnd::Skipped:
            ++counts.skipped;
            break;
        case PieceEnd::Cancelled:
            counts.partLeft = result.failure == PieceFailure::CannotRemove;
            counts.failures += counts.partLeft ? 1 : 0;
            counts.cancelled = true;
            return counts;
        }
    }
    return counts;
}
