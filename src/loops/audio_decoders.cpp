#include "loops/audio_file.h"

#include <FLAC/stream_decoder.h>
#include <vorbis/vorbisfile.h>

#include <cstdio>

namespace {

// Frames as the definition's data holds them: 8-bit unsigned, wider signed little-endian.
void appendSample(std::vector<std::uint8_t>& bytes, std::int32_t sample, std::uint32_t bits)
{
    if (bits == 8) {
        bytes.push_back(static_cast<std::uint8_t>(sample + 128));
        return;
    }
    for (std::uint32_t shift = 0; shift < bits; shift += 8)
        bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(sample) >> shift));
}

struct FlacReading {
    AudioData* audio;
    std::uint32_t sourceBits = 0;
    bool failed = false;
};

FLAC__StreamDecoderWriteStatus takeFrame(const FLAC__StreamDecoder*, const FLAC__Frame* frame,
                                         const FLAC__int32* const channels[], void* context)
{
    auto& reading = *static_cast<FlacReading*>(context);
    AudioData& audio = *reading.audio;
    // Widths between the ones kept are widened to the next, their samples shifted up.
    const std::uint32_t shift = audio.bits - reading.sourceBits;
    for (std::uint32_t i = 0; i < frame->header.blocksize; ++i) {
        for (std::uint32_t channel = 0; channel < audio.channels; ++channel)
            appendSample(audio.bytes, channels[channel][i] * (1 << shift), audio.bits);
    }
    return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}

void takeMetadata(const FLAC__StreamDecoder*, const FLAC__StreamMetadata* metadata, void* context)
{
    if (metadata->type != FLAC__METADATA_TYPE_STREAMINFO)
        return;
    auto& reading = *static_cast<FlacReading*>(context);
    const auto& info = metadata->data.stream_info;
    reading.sourceBits = info.bits_per_sample;
    reading.audio->channels = info.channels;
    reading.audio->rate = info.sample_rate;
    reading.audio->bits = info.bits_per_sample <= 8 ? 8 : info.bits_per_sample <= 16 ? 16 : 24;
    reading.failed = info.bits_per_sample > 24;
    reading.audio->bytes.reserve(info.total_samples * info.channels * (reading.audio->bits / 8));
}

void noteError(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void* context)
{
    static_cast<FlacReading*>(context)->failed = true;
}

} // namespace

AudioRefusal decodeFlac(const std::string& path, AudioData& audio)
{
    FLAC__StreamDecoder* decoder = FLAC__stream_decoder_new();
    if (decoder == nullptr)
        return AudioRefusal::Unreadable;
    FlacReading reading{&audio};
    bool read = FLAC__stream_decoder_init_file(decoder, path.c_str(), takeFrame, takeMetadata, noteError, &reading) ==
                    FLAC__STREAM_DECODER_INIT_STATUS_OK &&
                FLAC__stream_decoder_process_until_end_of_stream(decoder);
    FLAC__stream_decoder_delete(decoder);
    if (!read || reading.failed)
        return AudioRefusal::Unreadable;
    return audio.channels == 0 ? AudioRefusal::NotPcm : AudioRefusal::None;
}

AudioRefusal decodeOggVorbis(const std::string& path, AudioData& audio)
{
    OggVorbis_File file;
    if (ov_fopen(path.c_str(), &file) != 0)
        return AudioRefusal::Unreadable;
    const vorbis_info* info = ov_info(&file, -1);
    audio.channels = static_cast<std::uint32_t>(info->channels);
    audio.rate = static_cast<std::uint32_t>(info->rate);
    audio.bits = 16;
    char buffer[1 << 15];
    int section = 0;
    long got = 0;
    while ((got = ov_read(&file, buffer, sizeof buffer, 0, 2, 1, &section)) > 0)
        audio.bytes.insert(audio.bytes.end(), buffer, buffer + got);
    ov_clear(&file);
    return got == 0 ? AudioRefusal::None : AudioRefusal::Unreadable;
}
