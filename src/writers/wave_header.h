#pragma once
// The 46-byte header of an output file: RIFF, an 18-byte PCM "fmt " record and the "data" chunk.
#include "definition/music_entry.h"
#include "definition/output_options.h"

#include <array>
#include <cstdint>

// trailingBytes: what follows the data chunk (waveTrailer), counted in the RIFF size.
std::array<std::uint8_t, 46> waveHeader(const MusicEntry& entry, const OutputOptions& options,
                                        std::uint32_t trailingBytes = 0);
