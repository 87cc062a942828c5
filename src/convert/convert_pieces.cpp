#include "convert/convert_pieces.h"

#include "convert/wave_writer.h"
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

enum class PieceResult { Written, Failed, Cancelled, CancelledPartLeft };

class PieceConversion {
public:
    PieceConversion(const MusicEntry& entry, const OutputOptions& options, WaveBuffer& buffer,
                    ConversionFrontEnd& frontEnd)
        : entry_(entry), options_(options), buffer_(buffer), frontEnd_(frontEnd), steps_(frontEnd, options.loopCount)
    {
    }

    PieceResult run()
    {
        frontEnd_.showReading(entry_);
        switch (pieceRefusal(entry_, options_.loopCount, options_.fadeSeconds)) {
        case PieceRefusal::None:
            break;
        case PieceRefusal::NameLeavesFolder:
            return fail(PieceFailure::NameLeavesFolder);
        case PieceRefusal::LoopPastData:
            return fail(PieceFailure::LoopPastData);
        case PieceRefusal::TooLarge:
            return fail(PieceFailure::TooLarge);
        }

        FileHandle source;
        if (!source.openRead(joinPath(options_.bgmFolder, nativeText(entry_.wave_file))))
            return fail(PieceFailure::SourceMissing);
        PieceOutcome read = readSourceRange(source, entry_, buffer_, steps_);
        if (read != PieceOutcome::Completed)
            return finish(read, PieceFailure::ShortSource);

        const std::string outputPath = joinPath(options_.outputFolder, nativeText(entry_.file));
        frontEnd_.showWriting(entry_);
        if (pathExists(outputPath)) {
            if (!frontEnd_.confirmOverwrite(outputPath))
                return fail(PieceFailure::OverwriteRefused);
            deleteFile(outputPath);
        }
        FileHandle output;
        if (!output.createWrite(outputPath))
            return fail(PieceFailure::CannotCreate);
        PieceOutcome written = writeWaveFile(output, entry_, options_.loopCount, options_.fadeSeconds, buffer_, steps_);
        if (written == PieceOutcome::Cancelled)
            return removeIncomplete(output, outputPath);
        if (written == PieceOutcome::Completed && !output.close())
            written = PieceOutcome::Failed;
        return finish(written, PieceFailure::WriteFailed);
    }

    PieceResult fail(PieceFailure failure)
    {
        frontEnd_.pieceFailed(entry_, failure);
        steps_.makeUpRest();
        return PieceResult::Failed;
    }

private:
    // The file of a cancelled piece announces its whole length but holds only part of it. This
    // run created it (a file it replaced was given up when the user agreed), so it goes; closed
    // first, because an open file cannot be deleted on every system.
    PieceResult removeIncomplete(FileHandle& output, const std::string& path)
    {
        output.close();
        if (deleteFile(path))
            return PieceResult::Cancelled;
        frontEnd_.pieceFailed(entry_, PieceFailure::CannotRemove);
        return PieceResult::CancelledPartLeft;
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

    const MusicEntry& entry_;
    const OutputOptions& options_;
    WaveBuffer& buffer_;
    ConversionFrontEnd& frontEnd_;
    PieceSteps steps_;
};

} // namespace

std::uint64_t conversionSteps(std::size_t rows, std::uint32_t loopCount)
{
    return static_cast<std::uint64_t>(rows) * (loopCount + 2ull) + 1;
}

ConversionCounts convertPieces(const LoopDefinition& definition, const OutputOptions& options,
                               const std::vector<std::int32_t>& rows, ConversionFrontEnd& frontEnd)
{
    ConversionCounts counts;
    WaveBuffer buffer;
    buffer.reserve(waveBufferReserve);
    const std::vector<MusicEntry>& entries = definition.entries();
    const MusicEntry missing;
    for (std::int32_t row : rows) {
        bool known = row >= 0 && static_cast<std::size_t>(row) < entries.size();
        PieceConversion piece(known ? entries[static_cast<std::size_t>(row)] : missing, options, buffer, frontEnd);
        PieceResult result = known ? piece.run() : piece.fail(PieceFailure::NoSuchPiece);
        if (result == PieceResult::Cancelled || result == PieceResult::CancelledPartLeft) {
            counts.partLeft = result == PieceResult::CancelledPartLeft;
            counts.failures += counts.partLeft ? 1 : 0;
            counts.cancelled = true;
            break;
        }
        ++(result == PieceResult::Written ? counts.successes : counts.failures);
    }
    return counts;
}
