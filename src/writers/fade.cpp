#include "writers/fade.h"

#include "definition/output_rule.h"
#include "writers/wave_writer.h"

namespace {

double fadeFactor(std::uint64_t total, std::uint64_t frame)
{
    double factor = (static_cast<double>(total) - frame) / total;
    return factor < 1.0 ? factor : 1.0;
}

// A signed little-endian sample of 2, 3 or 4 bytes. The product is never larger than the sample,
// so it fits its bytes again; a 32-bit sample is exact in a double.
void scaleSigned(std::uint8_t* sample, std::uint32_t bytes, double factor)
{
    std::uint32_t stored = 0;
    for (std::uint32_t b = 0; b < bytes; ++b)
        stored |= static_cast<std::uint32_t>(sample[b]) << 8 * b;
    const std::uint32_t signBit = 1u << (8 * bytes - 1);
    const std::int64_t value = static_cast<std::int64_t>(stored) - (stored & signBit) * std::int64_t{2};
    const auto scaled = static_cast<std::uint64_t>(static_cast<std::int64_t>(value * factor));
    for (std::uint32_t b = 0; b < bytes; ++b)
        sample[b] = static_cast<std::uint8_t>(scaled >> 8 * b);
}

void scale8(std::uint8_t* sample, double factor)
{
    int distance = static_cast<int>(*sample) - 128;
    *sample = static_cast<std::uint8_t>(128 + static_cast<int>(distance * factor));
}

// The bytes of a sample the fade scales; 0 for the sizes it leaves as they are.
std::uint32_t sampleBytes(std::uint16_t bits)
{
    return bits == 8 || bits == 16 || bits == 24 || bits == 32 ? bits / 8u : 0;
}

} // namespace

std::uint32_t wholeFramesChunk(const MusicEntry& entry)
{
    const std::uint32_t frameBytes = blockAlign(entry);
    return frameBytes == 0 ? waveChunkSize : waveChunkSize / frameBytes * frameBytes;
}

void scaleFadeFrames(std::uint8_t* block, std::uint32_t length, const MusicEntry& entry, std::uint32_t fadeSeconds,
                     std::uint64_t first)
{
    const std::uint32_t frameBytes = blockAlign(entry);
    // In 64 bits: a wrapped frame count would turn the ramp negative.
    const std::uint64_t total = static_cast<std::uint64_t>(entry.fmt_samples) * fadeSeconds;
    const std::uint32_t bytes = sampleBytes(entry.fmt_bits);
    if (bytes == 0 || frameBytes < bytes || total == 0)
        return;
    std::uint64_t frame = first;
    for (std::uint32_t p = 0; p + frameBytes <= length; p += frameBytes, ++frame) {
        const double factor = fadeFactor(total, frame);
        for (std::uint32_t s = 0; s + bytes <= frameBytes; s += bytes) {
            if (bytes == 1)
                scale8(block + p + s, factor);
            else
                scaleSigned(block + p + s, bytes, factor);
        }
    }
}

bool applyFade(std::uint8_t* section, std::uint32_t length, const MusicEntry& entry, std::uint32_t fadeSeconds,
               ConversionHooks& hooks)
{
    const std::uint32_t frameBytes = blockAlign(entry);
    // A chunk holds whole frames only, so no frame straddles two chunks.
    const std::uint32_t chunk = wholeFramesChunk(entry);
    for (std::uint64_t offset = 0; offset < length;) {
        auto size = static_cast<std::uint32_t>(length - offset < chunk ? length - offset : chunk);
        scaleFadeFrames(section + offset, size, entry, fadeSeconds, frameBytes == 0 ? 0 : offset / frameBytes);
        offset += size;
        hooks.yieldOnce();
        if (hooks.isCancelled())
            return false;
    }
    return true;
}
