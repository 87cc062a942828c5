#include "convert/fade.h"

#include "convert/wave_writer.h"
#include "definition/output_rule.h"

namespace {

double fadeFactor(std::uint64_t total, std::uint32_t frame)
{
    double factor = (static_cast<double>(total) - frame) / total;
    return factor < 1.0 ? factor : 1.0;
}

void scale16(std::uint8_t* sample, double factor)
{
    auto value = static_cast<std::int16_t>(static_cast<std::uint16_t>(sample[0] | sample[1] << 8));
    auto scaled = static_cast<std::int16_t>(value * factor);
    sample[0] = static_cast<std::uint8_t>(scaled);
    sample[1] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(scaled) >> 8);
}

void scale8(std::uint8_t* sample, double factor)
{
    int distance = static_cast<int>(*sample) - 128;
    *sample = static_cast<std::uint8_t>(128 + static_cast<int>(distance * factor));
}

} // namespace

bool applyFade(std::uint8_t* section, std::uint32_t length, const MusicEntry& entry, std::uint32_t fadeSeconds,
               ConversionHooks& hooks)
{
    const std::uint32_t frameBytes = blockAlign(entry);
    // In 64 bits: a wrapped frame count would turn the ramp negative.
    const std::uint64_t total = static_cast<std::uint64_t>(entry.fmt_samples) * fadeSeconds;
    const std::uint32_t sampleBytes = entry.fmt_bits == 16 ? 2 : entry.fmt_bits == 8 ? 1 : 0;
    // A chunk holds whole frames only, so no frame straddles two chunks.
    const std::uint32_t chunk = frameBytes == 0 ? waveChunkSize : waveChunkSize / frameBytes * frameBytes;
    std::uint32_t frame = 0;
    for (std::uint64_t offset = 0; offset < length;) {
        auto size = static_cast<std::uint32_t>(length - offset < chunk ? length - offset : chunk);
        if (sampleBytes != 0 && frameBytes >= sampleBytes && total != 0) {
            for (std::uint32_t p = 0; p + frameBytes <= size; p += frameBytes, ++frame) {
                double factor = fadeFactor(total, frame);
                std::uint8_t* frameStart = section + offset + p;
                for (std::uint32_t s = 0; s + sampleBytes <= frameBytes; s += sampleBytes) {
                    if (sampleBytes == 2)
                        scale16(frameStart + s, factor);
                    else
                        scale8(frameStart + s, factor);
                }
            }
        }
        offset += size;
        hooks.yieldOnce();
        if (hooks.isCancelled())
            return false;
    }
    return true;
}
