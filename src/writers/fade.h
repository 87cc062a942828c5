#pragma once
// The linear fade-out: frame k of the fade section is scaled by (T − k) / T, where T is the
// number of frames of a full fade of fadeSeconds.
#include "convert/conversion_hooks.h"
#include "definition/music_entry.h"

#include <cstdint>

// Scales the fade section in place, one chunk of at most 1 MiB between yields. 16-, 24- and
// 32-bit samples are signed and truncated toward zero; 8-bit samples are unsigned and scaled as
// their distance from 128; every sample of a frame is scaled; other sample sizes are left as they
// are. Only whole frames are scaled.
// False when the user cancelled.
bool applyFade(std::uint8_t* section, std::uint32_t length, const MusicEntry& entry, std::uint32_t fadeSeconds,
               ConversionHooks& hooks);

// Scales the whole frames of block in place as applyFade does, block's first frame being frame
// first of the fade section; no yields.
void scaleFadeFrames(std::uint8_t* block, std::uint32_t length, const MusicEntry& entry, std::uint32_t fadeSeconds,
                     std::uint64_t first);

// The largest amount of whole frames that is at most one chunk of work (waveChunkSize).
std::uint32_t wholeFramesChunk(const MusicEntry& entry);
