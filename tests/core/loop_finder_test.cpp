#include "loops/audio_file.h"
#include "loops/loop_finder.h"
#include "support/synthetic_music.h"
#include "support/test_files.h"

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
        {"8-bit mono 22.05 kHz", 8, 1, 22050, 0.7, 4.137, 1.6},
        {"24-bit stereo 48 kHz", 24, 2, 48000, 2.0, 2.6437, 3.0},
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

TEST(FindLoop, QuietMusicIsMusic)
{
    // 40 dB below full scale: quiet, yet far above silence.
    const std::uint32_t rate = 22050;
    std::vector<float> music = loopedMusic(syntheticMusic(1.0, rate, 18), syntheticMusic(3.0, rate, 19), 2.0);
    for (float& sample : music)
        sample *= 0.01f;
    const FoundLoop found = findLoop(piece(music, 24, 1, rate).view(), LoopSearch());
    ASSERT_EQ(found.reason, NotFound::None);
    EXPECT_EQ(found.candidates.front().length, 3 * rate);
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
    // More than a loop repeated (0.45 of it) by nearly the same sound: the noise, 40 dB down on
    // music about 10 dB down, leaves a difference near 0.02 of the 0.3 allowed (0.5 less a
    // fifteenth of it); not byte for byte.
    EXPECT_GT(best.confidence, 0.92);
    EXPECT_LT(best.confidence, 0.94);
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

    for (std::size_t i = 1; i < found.candidates.size(); ++i)
        EXPECT_GE(found.candidates[i - 1].confidence, found.candidates[i].confidence);
    // Through a lossy codec the loop and its double differ in confidence by a trifle: the loop
    // still comes first.
    const Piece lossy = piece(withNoise(loopedMusic(intro, loop, 4.5), 0.005, 22), 16, 1, rate);
    const FoundLoop nearly = findLoop(lossy.view(), LoopSearch());
    ASSERT_FALSE(nearly.candidates.empty());
    EXPECT_NEAR(static_cast<double>(nearly.candidates.front().length), static_cast<double>(loop.size()), rate / 1000.0);

    LoopSearch longer;
    longer.minSeconds = 4;
    const FoundLoop twice = findLoop(data.view(), longer);
    ASSERT_FALSE(twice.candidates.empty());
    EXPECT_EQ(twice.candidates.front().length, 2 * loop.size());
    longer.maxSeconds = 6.0;
    for (const LoopCandidate& candidate : findLoop(data.view(), longer).candidates)
        EXPECT_EQ(candidate.length, 2 * loop.size());
    LoopSearch shorter;
    shorter.maxSeconds = 2.4;
    EXPECT_EQ(findLoop(data.view(), shorter).reason, NotFound::NoRepeat);

    LoopSearch near;
    near.nearStart = 2.0;
    near.nearLength = 7.0;
    const FoundLoop thrice = findLoop(data.view(), near);
    ASSERT_FALSE(thrice.candidates.empty());
    EXPECT_EQ(thrice.candidates.front().length, 3 * loop.size());
    EXPECT_GE(thrice.candidates.front().start, intro.size() - rate / 100);
}

TEST(FindLoop, ASectionPlayedTwiceInsideTheLoopIsNotTheLoop)
{
    const std::uint32_t rate = 22050;
    const std::vector<float> intro = syntheticMusic(1.0, rate, 15), section = syntheticMusic(2.25, rate, 16);
    std::vector<float> loop = loopedMusic(section, section, 1.0); // the section, twice
    const std::vector<float> rest = syntheticMusic(2.5, rate, 17);
    loop.insert(loop.end(), rest.begin(), rest.end());
    const Piece data = piece(loopedMusic(intro, loop, 2.0), 16, 2, rate);
    const FoundLoop found = findLoop(data.view(), LoopSearch());
    ASSERT_FALSE(found.candidates.empty());
    EXPECT_EQ(found.candidates.front().length, loop.size());
    for (const LoopCandidate& candidate : found.candidates)
        EXPECT_NE(candidate.length, section.size());
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
    for (std::size_t i = 1; i < found.candidates.size(); ++i)
        EXPECT_LE(found.candidates[i].confidence, found.candidates[i - 1].confidence);
    for (const LoopCandidate& candidate : found.candidates) {
        EXPECT_EQ(candidate.start + candidate.length, data.view().frames()); // it ends where the data does
        EXPECT_LE(candidate.start, 4 * rate);
        EXPECT_GE(candidate.length, 2 * rate); // the default shortest loop
        EXPECT_LT(candidate.confidence, 1.0);
    }
    // An introduction that ends as the loop does (its last 0.6 s): the surroundings tell the
    // seam, exactly, yet it stays a guess.
    std::vector<float> leadIn = intro;
    leadIn.insert(leadIn.end(), loop.end() - static_cast<std::ptrdiff_t>(0.6 * rate), loop.end());
    const Piece told = piece(loopedMusic(leadIn, loop, 1.0), 16, 2, rate);
    const FoundLoop guessed = findLoop(told.view(), near);
    ASSERT_FALSE(guessed.candidates.empty());
    EXPECT_EQ(guessed.loopCase, LoopCase::OnePass);
    EXPECT_EQ(guessed.candidates.front().start, leadIn.size());
    EXPECT_EQ(guessed.candidates.front().length, loop.size());
    EXPECT_NEAR(guessed.candidates.front().confidence, 0.8, 1e-9);

    near.nearStart = 9.0; // beyond the data's end
    EXPECT_EQ(findLoop(data.view(), near).reason, NotFound::NothingNear);
    near.nearStart = 1.3;
    near.nearLength = 30.0; // a loop far longer than the data
    EXPECT_EQ(findLoop(data.view(), near).reason, NotFound::NothingNear);
    // Told 1.8 s off, the search still reaches the loop as made, and keeps within 2 s of a start.
    near.nearStart = 1.3 + 1.8;
    near.nearLength = 3.0 - 1.8;
    const FoundLoop far = findLoop(data.view(), near);
    ASSERT_FALSE(far.candidates.empty());
    for (const LoopCandidate& candidate : far.candidates)
        EXPECT_GE(candidate.start, static_cast<std::size_t>(1.1 * rate));
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

// Real music (see tests/README.md): 1.2 s of introduction, then a loop of 3 s twice whose last
// second is the second before its start, so that the loop runs on as the introduction did.
TEST(FindLoop, RealMusicInEachForm)
{
    AudioData audio;
    ASSERT_EQ(readAudioFile(fixturePath("real_loop.wav"), audio), AudioRefusal::None);
    ASSERT_EQ(audio.rate, 11025u);
    const std::size_t intro = 13230, length = 33075;
    Piece data{audio.bytes, audio.channels, audio.bits, audio.rate};
    const FoundLoop repeat = findLoop(data.view(), LoopSearch());
    ASSERT_FALSE(repeat.candidates.empty());
    EXPECT_EQ(repeat.candidates.front().length, length);
    // The earliest start lies a second before the loop as made: the introduction ends as the loop does.
    EXPECT_EQ(repeat.candidates.front().start, earliestRepeat(data, intro, length));
    EXPECT_EQ(repeat.candidates.front().start, intro - 11025);

    // Told a start and a length 1.8 s off, within the 2 s reached.
    LoopSearch off;
    off.nearStart = 1.2 + 1.8;
    off.nearLength = 3.0 - 1.8;
    const FoundLoop told = findLoop(data.view(), off);
    ASSERT_FALSE(told.candidates.empty());
    EXPECT_EQ(told.candidates.front().length, length);

    std::vector<float> samples(data.view().frames());
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = data.view().at(i, 0);
    const FoundLoop lossy = findLoop(piece(withNoise(samples, 0.003, 14), 16, 1, 11025).view(), LoopSearch());
    ASSERT_FALSE(lossy.candidates.empty());
    EXPECT_NEAR(static_cast<double>(lossy.candidates.front().length), static_cast<double>(length), 11.025);
    EXPECT_NEAR(static_cast<double>(lossy.candidates.front().start), static_cast<double>(intro - 11025), 220.5);

    // One pass, told a start 1.5 s late and a length 1.2 s short: the second before the end
    // repeats the second before the loop, which shows the length; the start is the earliest
    // within reach of the one told.
    Piece onePass = data;
    onePass.bytes.resize((intro + length) * 2);
    LoopSearch near;
    near.nearStart = 1.2 + 1.5;
    near.nearLength = 3.0 - 1.2;
    const FoundLoop shown = findLoop(onePass.view(), near);
    ASSERT_FALSE(shown.candidates.empty());
    EXPECT_EQ(shown.candidates.front().length, length);
    EXPECT_EQ(shown.candidates.front().start, 7718u); // 0.7 s
    // Without the repeated second there is nothing but the seam to go by: the same note a period
    // later joins as smoothly, so within 5 ms.
    for (std::size_t i = intro - 11025; i < intro; ++i)
        onePass.bytes[2 * i] = onePass.bytes[2 * i + 1] = 0;
    const FoundLoop seam = findLoop(onePass.view(), near);
    ASSERT_FALSE(seam.candidates.empty());
    EXPECT_EQ(seam.loopCase, LoopCase::OnePass);
    EXPECT_NEAR(static_cast<double>(seam.candidates.front().start), static_cast<double>(intro), 55.0);
    EXPECT_EQ(seam.candidates.front().start + seam.candidates.front().length, intro + length);
    EXPECT_LT(seam.candidates.front().confidence, 0.8);
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
    // Frames are the same only when every channel's bytes are.
    const std::uint8_t twice[] = {1, 2, 3, 4, 1, 2, 3, 5};
    const PcmView frames(twice, sizeof twice, 2, 16, 8000);
    EXPECT_FALSE(frames.sameFrames(0, 1, 1));
    EXPECT_TRUE(PcmView(twice, 6, 1, 16, 8000).sameFrames(0, 2, 1));
    EXPECT_FALSE(PcmView(wide, sizeof wide, 1, 12, 8000).readable());
    EXPECT_EQ(PcmView(wide, 5, 1, 16, 8000).frames(), 2u); // a frame cut short is not read
}
