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

std::array<std::uint8_t, 46> waveHeader(const MusicEntry& entry, std::uint32_t loopCount, std::uint32_t fadeSeconds)
{
    std::uint32_t data = dataLength(entry, loopCount, fadeSeconds);
    std::array<std::uint8_t, 46> header{};
    LittleEndianWriter out(header.data());
    out.tag("RIFF");
    out.u32(data + waveHeaderSize - 8);
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
