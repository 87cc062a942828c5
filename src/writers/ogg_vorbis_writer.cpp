#include "writers/ogg_vorbis_writer.h"

#include "writers/sample_frames.h"
#include "writers/vorbis_comments.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>


namespace {

// The library's encoder settings for a format and quality, cleared when it goes.
class VorbisSettings {
public:
    VorbisSettings(const MusicEntry& entry, float quality)
    {
        vorbis_info_init(&info);
        ready_ = vorbis_encode_init_vbr(&info, entry.fmt_channels, static_cast<long>(entry.fmt_samples), quality / 10) == 0;
    }
    ~VorbisSettings() { vorbis_info_clear(&info); }
    VorbisSettings(const VorbisSettings&) = delete;
    VorbisSettings& operator=(const VorbisSettings&) = delete;

    bool ready() const { return ready_; }

    vorbis_info info;

private:
    bool ready_ = false;
};

// One logical Ogg stream of Vorbis packets, written page by page to output.
class VorbisStream : public FrameSink {
public:
    VorbisStream(FileHandle& output, VorbisSettings& settings, const MusicEntry& entry, int serial)
        : FrameSink(entry.fmt_channels, entry.fmt_bits), output_(output), channels_(entry.fmt_channels),
          scale_(1.0f / static_cast<float>(1u << (entry.fmt_bits - 1)))
    {
        vorbis_comment_init(&comments_);
        vorbis_analysis_init(&state_, &settings.info);
        vorbis_block_init(&state_, &block_);
        ogg_stream_init(&stream_, serial);
    }
    ~VorbisStream()
    {
        ogg_stream_clear(&stream_);
        vorbis_block_clear(&block_);
        vorbis_dsp_clear(&state_);
        vorbis_comment_clear(&comments_);
    }
    VorbisStream(const VorbisStream&) = delete;
    VorbisStream& operator=(const VorbisStream&) = delete;

    // The three header packets, alone on their pages as players expect.
    bool writeHeaders(const VorbisComments& comments)
    {
        for (const auto& [name, value] : comments)
            vorbis_comment_add_tag(&comments_, name.c_str(), value.c_str());
        ogg_packet identification, comment, codebooks;
        vorbis_analysis_headerout(&state_, &comments_, &identification, &comment, &codebooks);
        ogg_stream_packetin(&stream_, &identification);
        ogg_stream_packetin(&stream_, &comment);
        ogg_stream_packetin(&stream_, &codebooks);
        ogg_page page;
        while (ogg_stream_flush(&stream_, &page) != 0) {
            if (!writePage(page))
                return false;
        }
        return true;
    }

    // Marks the end, so that the last page's position cuts the decoded length to the frames given.
    bool end()
    {
        vorbis_analysis_wrote(&state_, 0);
        return writeBlocks();
    }

private:
    // A little at a time: each block the encoder takes out moves every sample it still holds, so
    // a whole chunk at once would be moved over and over (a tenth of the encoding time).
    bool writeFrames(const std::int32_t* samples, std::uint32_t count) override
    {
        while (count > 0) {
            const std::uint32_t part = std::min(count, framesAtOnce);
            float** planes = vorbis_analysis_buffer(&state_, static_cast<int>(part));
            for (std::uint32_t frame = 0; frame < part; ++frame) {
                for (std::uint16_t channel = 0; channel < channels_; ++channel)
                    planes[channel][frame] = static_cast<float>(*samples++) * scale_;
            }
            vorbis_analysis_wrote(&state_, static_cast<int>(part));
            if (!writeBlocks())
                return false;
            count -= part;
        }
        return true;
    }

    static constexpr std::uint32_t framesAtOnce = 1024;

    bool writeBlocks()
    {
        while (vorbis_analysis_blockout(&state_, &block_) == 1) {
            vorbis_analysis(&block_, nullptr);
            vorbis_bitrate_addblock(&block_);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&state_, &packet) == 1) {
                ogg_stream_packetin(&stream_, &packet);
                ogg_page page;
                while (ogg_stream_pageout(&stream_, &page) != 0) {
                    if (!writePage(page))
                        return false;
                }
            }
        }
        return true;
    }

    bool writePage(const ogg_page& page)
    {
        auto headerBytes = static_cast<std::uint32_t>(page.header_len);
        auto bodyBytes = static_cast<std::uint32_t>(page.body_len);
        return output_.write(page.header, headerBytes) == headerBytes && output_.write(page.body, bodyBytes) == bodyBytes;
    }

    FileHandle& output_;
    std::uint16_t channels_;
    float scale_;
    vorbis_comment comments_;
    vorbis_dsp_state state_;
    vorbis_block block_;
    ogg_stream_state stream_;
};

} // namespace

FormatRefusal OggVorbisWriter::refusal(const MusicEntry& entry) const
{
    const FormatRefusal layout = sampleLayoutRefusal(entry, 255);
    if (layout.refuses())
        return layout;
    if (!VorbisSettings(entry, quality_).ready())
        return {FormatLimit::EncoderRate};
    return {};
}

PieceOutcome OggVorbisWriter::write(FileHandle& output, const PieceToWrite& piece, WaveBuffer& buffer,
                                    ConversionHooks& hooks) const
{
    const MusicEntry& entry = piece.entry;
    VorbisSettings settings(entry, quality_);
    if (!settings.ready())
        return PieceOutcome::Failed;
    // The track number as the stream's serial number: the same piece gives the same bytes every time.
    VorbisStream stream(output, settings, entry, static_cast<int>(piece.tags.track));
    if (!stream.writeHeaders(vorbisComments(piece)))
        return PieceOutcome::Failed;
    PieceOutcome outcome = writeSamples(stream, entry, piece.options, buffer, hooks);
    if (outcome != PieceOutcome::Completed)
        return outcome;
    if (!stream.end())
        return PieceOutcome::Failed;
    hooks.step();
    hooks.yieldOnce();
    return PieceOutcome::Completed;
}
