#include "loops/loop_finder.h"
#include "support/synthetic_music.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

struct Piece {
    std::vector<std::uint8_t> bytes;
    std::uint32_t channels, bits, rate;
    PcmView view() const { return PcmView(bytes.data(), bytes.size(), channels, bits, rate); }
};

Piece piece(const std::vector<float>& samples, std::uint32_t bits, std::uint32_t channels, std::uint32_t rate)
{
    return {pcmBytes(samples, bits, channels), channels, bits, rate};
}

// The earliest frame from which the bytes repeat length frames later, walking back from the loop
// as it was made: the answer a repeat must give.
std::size_t earliestRepeat(const Piece& piece, std::size_t made, std::size_t length)
{
    const std::size_t frame = piece.bytes.size() / piece.view().frames();
    while (made > 0 && std::memcmp(&piece.bytes[(made - 1) * frame], &piece.bytes[(made - 1 + length) * frame], frame) == 0)
        --made;
    return made;
}

std::vector<float> withNoise(std::vector<float> samples, double level, unsigned seed)
{
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0, level);
    for (float& sample : samples)
        sample += static_cast<float>(noise(random));
    return samples;
}

} // namespace

TEST(FindLoop, RepeatGivesTheLengthAndEarliestStartToTheFrame)
{
    const struct {
        const char* name; std::uint32_t bits, channels, rate; double intro, loop, passes;
    } cases[] = {
        {"16-bit stereo 44.1 kHz", 16, 2, 44100, 1.3, 3.0, 2.5},
        {"8-bit mono 22.05 kHz", 8, 1, 22050, 0.7, 4.1, 1.6},
        {"24-bit stereo 48 kHz", 24, 2, 48000, 2.0, 2.6, 3.0},
        {"32-bit mono, no introduction", 32, 1, 32000, 0, 3.3, 2.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<float> intro = syntheticMusic(c.intro, c.rate, 1), loop = syntheticMusic(c.loop, c.rate, 2);
        const Piece data = piece(loopedMusic(intro, loop, c.passes), c.bits, c.channels, c.rate);
        const FoundLoop found = findLoop(data.view(), LoopSearch());
        ASSERT_EQ(found.reason, NotFound::None);
        EXPECT_EQ(found.loopCase, LoopCase::Repeat);
        ASSERT_FALSE(found.candidates.empty());
        const LoopCandidate& best = found.candidates.front();
        EXPECT_EQ(best.length, loop.size());
        EXPECT_EQ(best.start, earliestRepeat(data, intro.size(), loop.size()));
        EXPECT_TRUE(best.exact);
        EXPECT_GE(best.confidence, 0.99);
    }
}

TEST(FindLoop, LossyRepeatIsFoundWithinAMillisecond)
{
    const std::uint32_t rate = 44100;
    const std::vector<float> intro = syntheticMusic(1.5, rate, 3), loop = syntheticMusic(3.7, rate, 4);
    // Independent noise on every pass, as a lossy encoder leaves its own errors on each.
    const Piece data = piece(withNoise(loopedMusic(intro, loop, 2.2), 0.01, 5), 16, 2, rate);
    const FoundLoop found = findLoop(data.view(), LoopSearch());
    ASSERT_EQ(found.reason, NotFound::None);
    const LoopCandidate& best = found.candidates.front();
    EXPECT_NEAR(static_cast<double>(best.length), static_cast<double>(loop.size()), rate / 1000.0);
    EXPECT_NEAR(static_cast<double>(best.start), static_cast<double>(intro.size()), rate * 0.02);
    EXPECT_FALSE(best.exact);
    EXPECT_GT(best.confidence, 0.5);
    EXPECT_LT(best.confidence, 1.0);
}

TEST(FindLoop, TheShortestLoopComesFirstAndTheLengthsAllowedAreKept)
{
    const std::uint32_t rate = 22050;
    const std::vector<float> intro = syntheticMusic(1.0, rate, 6), loop = syntheticMusic(2.5, rate, 7);
    const Piece data = piece(loopedMusic(intro, loop, 4.5), 16, 1, rate);
    const FoundLoop found = findLoop(data.view(), LoopSearch());
    ASSERT_FALSE(found.candidates.empty());
    EXPECT_EQ(found.candidates.front().length, loop.size());
    EXPECT_LE(found.candidates.size(), 3u);

    LoopSearch longer;
    longer.minSeconds = 4;
    const FoundLoop twice = findLoop(data.view(), longer);
    ASSERT_FALSE(twice.candidates.empty());
    EXPECT_EQ(twice.candidates.front().length, 2 * loop.size());

    LoopSearch near;
    near.nearStart = 2.0;
    near.nearLength = 7.0;
    const FoundLoop thrice = findLoop(data.view(), near);
    ASSERT_FALSE(thrice.candidates.empty());
    EXPECT_EQ(thrice.candidates.front().length, 3 * loop.size());
    EXPECT_GE(thrice.candidates.front().start, intro.size() - rate / 100);
}

TEST(FindLoop, OnePassNeedsToBeToldWhereAndStaysThere)
{
    const std::uint32_t rate = 44100;
    const std::vector<float> intro = syntheticMusic(1.3, rate, 8), loop = syntheticMusic(3.0, rate, 9);
    const Piece data = piece(loopedMusic(intro, loop, 1.0), 16, 2, rate);
    EXPECT_EQ(findLoop(data.view(), LoopSearch()).reason, NotFound::NoRepeat);

    LoopSearch near;
    near.nearStart = 2.0;
    near.nearLength = 2.5;
    const FoundLoop found = findLoop(data.view(), near);
    ASSERT_EQ(found.reason, NotFound::None);
    EXPECT_EQ(found.loopCase, LoopCase::OnePass);
    for (const LoopCandidate& candidate : found.candidates) {
        EXPECT_EQ(candidate.start + candidate.length, data.view().frames()); // it ends where the data does
        EXPECT_LE(candidate.start, 4 * rate);
        EXPECT_GE(candidate.length, 2 * rate); // the default shortest loop
        EXPECT_LT(candidate.confidence, 1.0);
    }
    near.nearStart = 9.0; // beyond the data's end
    EXPECT_EQ(findLoop(data.view(), near).reason, NotFound::NothingNear);
}

TEST(FindLoop, WhatDoesNotLoopIsNotFound)
{
    const std::uint32_t rate = 44100;
    const Piece music = piece(syntheticMusic(12, rate, 10), 16, 2, rate);
    EXPECT_EQ(findLoop(music.view(), LoopSearch()).reason, NotFound::NoRepeat);
    const Piece noise = piece(withNoise(std::vector<float>(8 * rate), 0.3, 11), 16, 1, rate);
    EXPECT_EQ(findLoop(noise.view(), LoopSearch()).reason, NotFound::NoRepeat);
    const Piece silence = piece(std::vector<float>(5 * rate), 16, 2, rate);
    EXPECT_EQ(findLoop(silence.view(), LoopSearch()).reason, NotFound::Silent);
    const Piece shortData = piece(syntheticMusic(1.5, rate, 12), 16, 2, rate);
    EXPECT_EQ(findLoop(shortData.view(), LoopSearch()).reason, NotFound::TooShort);
    // A piece that only fades away at its end.
    std::vector<float> fading = syntheticMusic(10, rate, 13);
    for (std::size_t i = fading.size() / 2; i < fading.size(); ++i)
        fading[i] *= static_cast<float>(2.0 * (fading.size() - i) / fading.size());
    EXPECT_EQ(findLoop(piece(fading, 16, 2, rate).view(), LoopSearch()).reason, NotFound::NoRepeat);
}

TEST(PcmView, ReadsEveryWidthAsFullScaleFractions)
{
    const std::uint8_t eight[] = {0x00, 0x80, 0xFF};
    const PcmView view8(eight, sizeof eight, 1, 8, 8000);
    EXPECT_FLOAT_EQ(view8.at(0, 0), -1.0f);
    EXPECT_FLOAT_EQ(view8.at(1, 0), 0.0f);
    const std::uint8_t wide[] = {0x00, 0x00, 0x80, 0xFF, 0xFF, 0x7F}; // 24-bit: lowest, then highest
    const PcmView view24(wide, sizeof wide, 1, 24, 8000);
    EXPECT_FLOAT_EQ(view24.at(0, 0), -1.0f);
    EXPECT_NEAR(view24.at(1, 0), 1.0, 1e-6);
    const std::uint8_t stereo32[] = {0, 0, 0, 0x40, 0, 0, 0, 0xC0}; // +0.5, -0.5: their mean is silence
    const PcmView view32(stereo32, sizeof stereo32, 2, 32, 8000);
    EXPECT_FLOAT_EQ(view32.at(0, 0), 0.5f);
    EXPECT_FLOAT_EQ(view32.at(0, 1), -0.5f);
    EXPECT_FLOAT_EQ(view32.mono(0), 0.0f);
    EXPECT_FALSE(PcmView(wide, sizeof wide, 1, 12, 8000).readable());
    EXPECT_EQ(PcmView(wide, 5, 1, 16, 8000).frames(), 2u); // a frame cut short is not read
}
