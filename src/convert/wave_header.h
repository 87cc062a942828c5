#pragma once
// The 46-byte header of an output file: RIFF, an 18-byte PCM "fmt " record and the "data" chunk.
#include "definition/music_entry.h"

#include <array>
#include <cstdint>
#include <vector>

// trailingBytes: what follows the data chunk (loopPointsBytes), counted in the RIFF size.
std::array<std::uint8_t, 46> waveHeader(const MusicEntry& entry, std::uint32_t loopCount, std::uint32_t fadeSeconds,
                                        std::uint32_t trailingBytes = 0);

// The loopPointsBytes that follow the data of a file carrying its loop points: a pad byte after
// odd data, then a "smpl" chunk with one endless forward loop over the first repetition of the
// loop (its last frame included, as the chunk counts). Empty when there is nothing to loop.
std::vector<std::uint8_t> loopPointsTrailer(const MusicEntry& entry, std::uint32_t loopCount,
                                            std::uint32_t fadeSeconds);
