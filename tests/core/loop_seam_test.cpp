#include "loops/loop_seam.h"
#include "support/pieces.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

// 1000 frames, a loop of 441 periods of a 441 Hz tone at 44,100 frames per second, 1000 frames.
constexpr std::uint32_t introFrames = 1000, loopFrames = 44100, tailFrames = 1000;

enum class Signal { Tone, Silence, DcStep };

// The piece's data with every channel alike, little-endian, 8-bit data unsigned.
static std::vector<std::uint8_t> pieceData(Signal signal, std::uint16_t bits, std::uint16_t channels)
{
    std::vector<std::uint8_t> data;
    const std::uint32_t bytes = bits / 8u;
    for (std::uint32_t frame = 0; frame < introFrames + loopFrames + tailFrames; ++frame) {
        double level = signal == Signal::Tone     ? 0.5 * std::sin(2 * 3.14159265358979 * frame / 100)
                       : signal == Signal::DcStep ? (frame < introFrames + loopFrames / 2 ? 0.2 : 0.5)
                                                  : 0;
        auto stored = static_cast<std::uint32_t>(std::llround(level * ((1ll << (bits - 1)) - 1)) + (bits == 8 ? 128 : 0));
        for (std::uint32_t b = 0; b < bytes * channels; ++b)
            data.push_back(static_cast<std::uint8_t>(stored >> (8 * (b % bytes))));
    }
    return data;
}

TEST(LoopSeam, FlagsJumpsAndSuggestsTheSmoothEnd)
{
    const struct { // endMoved: frames added to the whole-period loop
        const char* name; Signal signal; std::uint16_t bits, channels; std::int32_t endMoved;
        bool measured, clicks, suggestsWholePeriods;
    } cases[] = {
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
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::uint8_t> data = pieceData(c.signal, c.bits, c.channels);
        const std::uint32_t frame = c.bits / 8u * c.channels;
        MusicEntry entry =
            pieceEntry(c.channels, 44100, c.bits, introFrames * frame, (loopFrames + c.endMoved) * frame);
        entry.wave_size = static_cast<std::uint32_t>(data.size());
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
