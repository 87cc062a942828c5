#include "writers/flac_writer.h"

#include "definition/output_rule.h"
#include "writers/sample_frames.h"
#include "writers/vorbis_comments.h"

#include <FLAC/metadata.h>
#include <FLAC/stream_encoder.h>

#include <memory>

namespace {

struct EncoderDeleter {
    void operator()(FLAC__StreamEncoder* encoder) const { FLAC__stream_encoder_delete(encoder); }
};
using Encoder = std::unique_ptr<FLAC__StreamEncoder, EncoderDeleter>;

struct MetadataDeleter {
    void operator()(FLAC__StreamMetadata* block) const { FLAC__metadata_object_delete(block); }
};
using Metadata = std::unique_ptr<FLAC__StreamMetadata, MetadataDeleter>;

FileHandle& outputOf(void* client) { return *static_cast<FileHandle*>(client); }

FLAC__StreamEncoderWriteStatus writeBytes(const FLAC__StreamEncoder*, const FLAC__byte bytes[], size_t length,
                                          uint32_t, uint32_t, void* client)
{
    // libFLAC hands over a frame at a time, far below 4 GiB.
    auto size = static_cast<std::uint32_t>(length);
    return outputOf(client).write(bytes, size) == size ? FLAC__STREAM_ENCODER_WRITE_STATUS_OK
                                                       : FLAC__STREAM_ENCODER_WRITE_STATUS_FATAL_ERROR;
}

// A file lets libFLAC go back and complete the stream's header (its MD5 sum of the samples); on a
// pipe the header keeps the length given in advance and no sum.
FLAC__StreamEncoderSeekStatus seekTo(const FLAC__StreamEncoder*, FLAC__uint64 offset, void* client)
{
    return outputOf(client).seek(offset) ? FLAC__STREAM_ENCODER_SEEK_STATUS_OK : FLAC__STREAM_ENCODER_SEEK_STATUS_UNSUPPORTED;
}

FLAC__StreamEncoderTellStatus tellPosition(const FLAC__StreamEncoder*, FLAC__uint64* offset, void* client)
{
    std::uint64_t at = 0;
    if (!outputOf(client).position(at))
        return FLAC__STREAM_ENCODER_TELL_STATUS_UNSUPPORTED;
    *offset = at;
    return FLAC__STREAM_ENCODER_TELL_STATUS_OK;
}

FLAC__StreamEncoderWriteStatus discardBytes(const FLAC__StreamEncoder*, const FLAC__byte[], size_t, uint32_t,
                                            uint32_t, void*)
{
    return FLAC__STREAM_ENCODER_WRITE_STATUS_OK;
}

// An encoder set up for the piece's format; null when libFLAC has no memory for one.
Encoder encoderFor(const MusicEntry& entry)
{
    Encoder encoder(FLAC__stream_encoder_new());
    if (!encoder)
        return encoder;
    FLAC__StreamEncoder* flac = encoder.get();
    FLAC__stream_encoder_set_channels(flac, entry.fmt_channels);
    FLAC__stream_encoder_set_bits_per_sample(flac, entry.fmt_bits);
    FLAC__stream_encoder_set_sample_rate(flac, entry.fmt_samples);
    // 32-bit samples and the highest rates lie outside FLAC's subset for hardware players.
    FLAC__stream_encoder_set_streamable_subset(flac, entry.fmt_bits <= 24 && FLAC__format_sample_rate_is_subset(entry.fmt_samples));
    return encoder;
}

class EncoderSink : public FrameSink {
public:
    EncoderSink(FLAC__StreamEncoder* encoder, const MusicEntry& entry)
        : FrameSink(entry.fmt_channels, entry.fmt_bits), encoder_(encoder)
    {
    }

private:
    bool writeFrames(const std::int32_t* samples, std::uint32_t count) override
    {
        return FLAC__stream_encoder_process_interleaved(encoder_, samples, count) != 0;
    }

    FLAC__StreamEncoder* encoder_;
};

Metadata commentBlock(const PieceToWrite& piece)
{
    Metadata block(FLAC__metadata_object_new(FLAC__METADATA_TYPE_VORBIS_COMMENT));
    for (const auto& [name, value] : vorbisComments(piece)) {
        FLAC__StreamMetadata_VorbisComment_Entry comment;
        if (!block || !FLAC__metadata_object_vorbiscomment_entry_from_name_value_pair(&comment, name.c_str(), value.c_str()) ||
            !FLAC__metadata_object_vorbiscomment_append_comment(block.get(), comment, false))
            return nullptr;
    }
    return block;
}

} // namespace

FormatRefusal FlacWriter::refusal(const MusicEntry& entry) const
{
    const FormatRefusal layout = sampleLayoutRefusal(entry, FLAC__MAX_CHANNELS);
    if (layout.refuses())
        return layout;
    // Asked of the library that runs, which may hold fewer bits than the one this was built with.
    Encoder encoder = encoderFor(entry);
    if (!encoder)
        return {FormatLimit::EncoderMemory};
    switch (FLAC__stream_encoder_init_stream(encoder.get(), discardBytes, nullptr, nullptr, nullptr, nullptr)) {
    case FLAC__STREAM_ENCODER_INIT_STATUS_OK:
        return {};
    case FLAC__STREAM_ENCODER_INIT_STATUS_INVALID_BITS_PER_SAMPLE:
        return {FormatLimit::EncoderBits};
    case FLAC__STREAM_ENCODER_INIT_STATUS_INVALID_SAMPLE_RATE:
        return {FormatLimit::Rate};
    default:
        return {FormatLimit::EncoderRefuses};
    }
}

PieceOutcome FlacWriter::write(FileHandle& output, const PieceToWrite& piece, WaveBuffer& buffer,
                               ConversionHooks& hooks) const
{
    const MusicEntry& entry = piece.entry;
    const OutputOptions& options = piece.options;
    // Declared before the encoder, which uses it until it is deleted.
    Metadata comments = commentBlock(piece);
    Encoder encoder = encoderFor(entry);
    if (!comments || !encoder)
        return PieceOutcome::Failed;
    FLAC__StreamMetadata* blocks[] = {comments.get()};
    FLAC__stream_encoder_set_metadata(encoder.get(), blocks, 1);
    // The header states the length from the start, so that it is right on a pipe too.
    FLAC__stream_encoder_set_total_samples_estimate(
        encoder.get(), dataLength(entry, options) / blockAlign(entry));
    if (FLAC__stream_encoder_init_stream(encoder.get(), writeBytes, seekTo, tellPosition, nullptr, &output) !=
        FLAC__STREAM_ENCODER_INIT_STATUS_OK)
        return PieceOutcome::Failed;
    EncoderSink sink(encoder.get(), entry);
    PieceOutcome outcome = writeSamples(sink, entry, options, buffer, hooks);
    if (outcome != PieceOutcome::Completed)
        return outcome;
    if (!FLAC__stream_encoder_finish(encoder.get()))
        return PieceOutcome::Failed;
    hooks.step();
    hooks.yieldOnce();
    return PieceOutcome::Completed;
}
