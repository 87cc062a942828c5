#pragma once
// MusicEntry by what a test means, rather than by its ten fields in order.
#include "definition/music_entry.h"

#include <cstdint>

// A piece named a.wav in a format (channels, frames a second, bits a sample) whose data is an
// introduction of intro bytes and then one loop of loop bytes; wave_size wraps as the field does.
inline MusicEntry pieceEntry(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits, std::uint32_t intro = 0,
                             std::uint32_t loop = 0)
{
    MusicEntry entry;
    entry.file = "a.wav";
    entry.fmt_channels = channels;
    entry.fmt_samples = rate;
    entry.fmt_bits = bits;
    entry.wave_size = intro + loop;
    entry.loop_start = intro;
    entry.loop_size = loop;
    return entry;
}
