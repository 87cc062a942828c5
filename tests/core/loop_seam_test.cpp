#include "convert/loop_seam.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

enum class Signal { Tone, Silence, DcStep };

constexpr std::uint32_t introFrames = 1000;
constexpr std::uint32_t loopFrames = 44100; // 441 periods of a 441 Hz tone at 44,100 frames per second
constexpr std::uint32_t tailFrames = 1000;

double level(Signal signal, std::uint32_t frame)
{
    if (signal == Signal::DcStep)
        return frame < introFrames + loopFrames / 2 ? 0.2 : 0.5;
    return signal == Signal::Tone ? 0.5 * std::sin(2 * 3.14159265358979 * frame / 100) : 0;
}

// The piece's data with every channel alike, little-endian, 8-bit data unsigned.
std::vector<std::uint8_t> pieceData(Signal signal, std::uint16_t bits, std::uint16_t channels)
{
    std::vector<std::uint8_t> data;
    const std::uint32_t bytes = bits / 8u;
    for (std::uint32_t frame = 0; frame < introFrames + loopFrames + tailFrames; ++frame) {
        std::int64_t value = std::llround(level(signal, frame) * ((1ll << (bits - 1)) - 1));
        auto stored = static_cast<std::uint32_t>(bits == 8 ? value + 128 : value);
        for (std::uint16_t channel = 0; channel < channels; ++channel)
            for (std::uint32_t b = 0; b < bytes; ++b)
                data.push_back(static_cast<std::uint8_t>(stored >> (8 * b)));
    }
    return data;
}

} // namespace

TEST(LoopSeam, FlagsJumpsAndSuggestsTheSmoothEnd)
{
    struct Case {
        const char* name;
        Signal signal;
        std::uint16_t bits, channels;
        std::int32_t endMoved; // frames added to the whole-period loop
        bool measured, clicks, suggestsWholePeriods;
    };
    const Case cases[] = {
        {"tone, whole periods", Signal::Tone, 16, 2, 0, true, false, false},
        {"tone, a quarter period early", Signal::Tone, 16, 2, -25, true, true, true},
        {"tone, a quarter period late", Signal::Tone, 16, 2, 25, true, true, true},
        {"24-bit tone, a quarter period early", Signal::Tone, 24, 1, -25, true, true, true},
        {"8-bit tone, whole periods", Signal::Tone, 8, 1, 0, true, false, false},
        {"8-bit tone, a quarter period early", Signal::Tone, 8, 1, -25, true, true, true},
        {"silence", Signal::Silence, 16, 2, -25, true, false, false},
        {"step in a DC level at the seam", Signal::DcStep, 16, 2, 0, true, true, false},
        {"32-bit data is not measured", Signal::Tone, 32, 1, -25, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::uint8_t> data = pieceData(c.signal, c.bits, c.channels);
        const std::uint32_t frame = c.bits / 8u * c.channels;
        MusicEntry entry;
        entry.fmt_bits = c.bits;
        entry.fmt_channels = c.channels;
        entry.wave_size = static_cast<std::uint32_t>(data.size());
        entry.loop_start = introFrames * frame;
        entry.loop_size = (loopFrames + c.endMoved) * frame;

        LoopSeam seam = measureLoopSeam(data.data(), entry);
        EXPECT_EQ(seam.measured, c.measured);
        EXPECT_EQ(seam.clicks, c.clicks) << "measure " << seam.measure;
        EXPECT_EQ(seam.suggested, c.suggestsWholePeriods);
        if (c.suggestsWholePeriods) {
            EXPECT_EQ(seam.loop_start, entry.loop_start);
            EXPECT_NEAR(seam.loop_size / frame, loopFrames, 2.0) << "back within a frame or two";
            EXPECT_EQ(seam.loop_size % frame, 0u);
            EXPECT_LE(seam.suggestedMeasure, seamClickThreshold);
        }
    }
}
