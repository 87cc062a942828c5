#include "writers/wave_header.h"

#include "definition/output_rule.h"
#include "writers/riff_bytes.h"

#include <algorithm>
#include <vector>

std::array<std::uint8_t, 46> waveHeader(const MusicEntry& entry, const OutputOptions& options,
                                        std::uint32_t trailingBytes)
{
    std::uint32_t data = dataLength(entry, options);
    std::vector<std::uint8_t> fields;
    RiffBytes out(fields);
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
    std::array<std::uint8_t, 46> header{};
    std::copy(fields.begin(), fields.end(), header.begin());
    return header;
}
