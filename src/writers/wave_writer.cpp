#include "writers/wave_writer.h"

#include "definition/output_rule.h"
#include "writers/fade.h"
#include "writers/wave_header.h"
#include "writers/wave_trailer.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

// Empties the buffer and makes room for size bytes without touching them: reading grows it
// chunk by chunk, because clearing a large piece at once would hold the window up for a good
// part of a second. Emptied first, so that moving to larger memory copies nothing.
bool makeRoom(WaveBuffer& buffer, std::uint32_t size)
{
    buffer.clear();
    try {
        // Exactly what the piece needs: doubling would overshoot the memory of a large piece.
        buffer.reserve(size);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

std::uint64_t chunkAt(std::uint64_t offset, std::uint64_t end)
{
    return end - offset < waveChunkSize ? end - offset : waveChunkSize;
}

// The fade section of a full fade longer than the loop: the loop from its start, again from its
// start each time it ends, scaled chunk by chunk in scratch. A frame split by the loop's end is
// put together whole in scratch before it is scaled, and chunks hold whole frames.
PieceOutcome writeRunningFade(SampleSink& sink, const std::uint8_t* loop, std::uint32_t length,
                              const MusicEntry& entry, std::uint32_t fadeSeconds, ConversionHooks& hooks)
{
    const std::uint32_t chunk = wholeFramesChunk(entry);
    std::vector<std::uint8_t> scratch;
    try {
        scratch.resize(std::min(length, chunk));
    } catch (const std::bad_alloc&) {
        return PieceOutcome::Failed;
    }
    std::uint32_t from = 0; // where in the loop the next byte comes from
    for (std::uint64_t offset = 0; offset < length; offset += chunk) {
        const auto size = static_cast<std::uint32_t>(std::min<std::uint64_t>(length - offset, chunk));
        for (std::uint32_t filled = 0; filled < size;) {
            const std::uint32_t run = std::min(size - filled, entry.loop_size - from);
            std::memcpy(scratch.data() + filled, loop + from, run);
            filled += run;
            from = from + run == entry.loop_size ? 0 : from + run;
        }
        scaleFadeFrames(scratch.data(), size, entry, fadeSeconds, offset / blockAlign(entry));
        if (!sink.write(scratch.data(), size))
            return PieceOutcome::Failed;
        hooks.yieldOnce();
        if (hooks.isCancelled())
            return PieceOutcome::Cancelled;
    }
    return PieceOutcome::Completed;
}

class FileSink : public SampleSink {
public:
    explicit FileSink(FileHandle& output) : output_(output) {}
    bool write(const std::uint8_t* bytes, std::uint32_t length) override { return output_.write(bytes, length) == length; }

private:
    FileHandle& output_;
};

} // namespace

PieceOutcome readSourceRange(FileHandle& source, const MusicEntry& entry, WaveBuffer& buffer, ConversionHooks& hooks)
{
    // A piece that reaches past the end of its file fails before gigabytes are set aside for it.
    std::uint8_t last = 0;
    if (entry.wave_size > 0 && source.readAt(entry.wave_start + (entry.wave_size - 1ull), 1, &last) != 1)
        return PieceOutcome::Failed;
    if (!makeRoom(buffer, entry.wave_size))
        return PieceOutcome::Failed;
    if (entry.wave_size == 0 && hooks.isCancelled())
        return PieceOutcome::Cancelled;
    for (std::uint64_t offset = 0; offset < entry.wave_size; offset += waveChunkSize) {
        auto length = static_cast<std::uint32_t>(chunkAt(offset, entry.wave_size));
        buffer.resize(offset + length);
        if (source.readAt(entry.wave_start + offset, length, buffer.data() + offset) != length)
            return PieceOutcome::Failed;
        hooks.yieldOnce();
        if (hooks.isCancelled())
            return PieceOutcome::Cancelled;
    }
    hooks.step();
    return PieceOutcome::Completed;
}

void arrangeForPart(const PieceToWrite& piece, WaveBuffer& buffer)
{
    if (piece.part != PiecePart::Loop)
        return;
    const SplitPoints& cut = piece.cut;
    const auto loop = buffer.begin() + cut.loopStart;
    std::rotate(buffer.begin(), loop, loop + cut.loopSize);
    std::rotate(buffer.begin(), buffer.begin() + (cut.introBytes - cut.loopStart), buffer.begin() + cut.loopSize);
}

PieceOutcome writeSamples(SampleSink& sink, const MusicEntry& entry, const OutputOptions& options, WaveBuffer& buffer,
                          ConversionHooks& hooks)
{
    const FadeRequest fade = options.fade();
    const std::uint32_t fadeBytes = fadeLength(entry, fade);
    // An empty buffer belongs to a piece without data, whose loop_start and loop_size are 0.
    std::uint8_t* const loop = buffer.empty() ? buffer.data() : buffer.data() + entry.loop_start;

    if (!sink.write(buffer.data(), entry.loop_start))
        return PieceOutcome::Failed;
    for (std::uint32_t written = 0; written < options.loopCount; ++written) {
        if (entry.loop_size == 0 && hooks.isCancelled())
            return PieceOutcome::Cancelled;
        for (std::uint64_t offset = 0; offset < entry.loop_size; offset += waveChunkSize) {
            auto length = static_cast<std::uint32_t>(chunkAt(offset, entry.loop_size));
            if (!sink.write(loop + offset, length))
                return PieceOutcome::Failed;
            hooks.yieldOnce();
            if (hooks.isCancelled())
                return PieceOutcome::Cancelled;
        }
        hooks.step();
        hooks.yieldOnce();
    }
    if (hooks.isCancelled())
        return PieceOutcome::Cancelled;

    if (fadeBytes > entry.loop_size)
        return writeRunningFade(sink, loop, fadeBytes, entry, fade.seconds, hooks);
    // The loops are all written, so scaling the start of the loop in place touches none of them.
    if (fadeBytes > 0 && !applyFade(loop, fadeBytes, entry, fade.seconds, hooks))
        return PieceOutcome::Cancelled;
    return sink.write(loop, fadeBytes) ? PieceOutcome::Completed : PieceOutcome::Failed;
}

PieceOutcome writeWaveFile(FileHandle& output, const PieceToWrite& piece, WaveBuffer& buffer, ConversionHooks& hooks)
{
    const std::vector<std::uint8_t> trailer = waveTrailer(piece);
    const auto header = waveHeader(piece.entry, piece.options, static_cast<std::uint32_t>(trailer.size()));
    FileSink data(output);
    if (!data.write(header.data(), static_cast<std::uint32_t>(header.size())))
        return PieceOutcome::Failed;
    PieceOutcome outcome = writeSamples(data, piece.entry, piece.options, buffer, hooks);
    if (outcome != PieceOutcome::Completed)
        return outcome;
    if (!data.write(trailer.data(), static_cast<std::uint32_t>(trailer.size())))
        return PieceOutcome::Failed;
    hooks.step();
    hooks.yieldOnce();
    return PieceOutcome::Completed;
}
