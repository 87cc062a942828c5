#include "convert/wave_header.h"

#include "definition/output_rule.h"

#include <cstring>

namespace {

class LittleEndianWriter {
public:
    explicit LittleEndianWriter(std::uint8_t* out) : out_(out) {}
    void tag(const char (&text)[5])
    {
        std::memcpy(out_, text, 4);
        out_ += 4;
    }
    void u16(std::uint16_t value)
    {
        *out_++ = static_cast<std::uint8_t>(value);
        *out_++ = static_cast<std::uint8_t>(value >> 8);
    }
    void u32(std::uint32_t value)
    {
        u16(static_cast<std::uint16_t>(value));
        u16(static_cast<std::uint16_t>(value >> 16));
    }

private:
    std::uint8_t* out_;
};

} // namespace

std::array<std::uint8_t, 46> waveHeader(const MusicEntry& entry, std::uint32_t loopCount, std::uint32_t fadeSeconds,
                                        std::uint32_t trailingBytes)
{
    std::uint32_t data = dataLength(entry, loopCount, fadeSeconds);
    std::array<std::uint8_t, 46> header{};
    LittleEndianWriter out(header.data());
    out.tag("RIFF");
    out.u32(data + waveHeaderSize - 8 + trailingBytes);
    out.tag("WAVE");
    out.tag("fmt ");
    out.u32(18);
    out.u16(1); // PCM
    out.u16(entry.fmt_channels);
    out.u32(entry.fmt_samples);
    out.u32(bytesPerSecond(entry));
    out.u16(blockAlign(entry));
    out.u16(entry.fmt_bits);
    out.u16(0); // no extra format bytes
    out.tag("data");
    out.u32(data);
    return header;
}

std::vector<std::uint8_t> loopPointsTrailer(const MusicEntry& entry, std::uint32_t loopCount,
                                            std::uint32_t fadeSeconds)
{
    std::vector<std::uint8_t> trailer(loopPointsBytes(entry, loopCount, fadeSeconds));
    if (trailer.empty())
        return trailer;
    const LoopFrames frames = loopFrames(entry);
    const std::uint32_t rate = entry.fmt_samples;
    LittleEndianWriter out(trailer.data() + trailer.size() - loopPointsChunkSize);
    out.tag("smpl");
    out.u32(loopPointsChunkSize - 8);
    out.u32(0); // manufacturer
    out.u32(0); // product
    out.u32(rate == 0 ? 0 : (1000000000u + rate / 2) / rate); // nanoseconds per frame
    out.u32(60);                                              // unity note: middle C
    out.u32(0);                                               // pitch fraction
    out.u32(0);                                               // SMPTE format
    out.u32(0);                                               // SMPTE offset
    out.u32(1);                                               // loops
    out.u32(0);                                               // sampler data
    out.u32(0);                                               // cue point id
    out.u32(0);                                               // forward loop
    out.u32(frames.start);
    out.u32(frames.end - 1);
    out.u32(0); // fraction
    out.u32(0); // play count: endless
    return trailer;
}
