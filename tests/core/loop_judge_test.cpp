#include "check/data_findings.h"
#include "cli/messages.h"
#include "support/pieces.h"
#include "support/synthetic_music.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

constexpr std::uint32_t rate = 44100;

// A note and a fifth on every quarter second, drawn by a seeded generator, each attacking at full
// level (a step in the waveform wherever a beat begins) and decaying, with a noise burst on some:
// music that repeats only where it is made to.
std::vector<float> music(double seconds, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> burst(-0.2, 0.2);
    const double notes[] = {220, 247, 262, 294, 330, 349, 392, 440};
    std::vector<float> samples;
    while (samples.size() < seconds * rate) {
        const double note = notes[random() % 8], fifth = notes[random() % 8] * 1.5;
        const bool drum = random() % 3 == 0;
        for (std::uint32_t i = 0; i < rate / 4; ++i) {
            const double t = static_cast<double>(i) / rate;
            double value = 0.3 * std::exp(-12 * t) * (std::cos(2 * pi * note * t) + 0.5 * std::cos(2 * pi * fifth * t));
            if (drum && i < rate / 50)
                value += burst(random);
            samples.push_back(static_cast<float>(value));
        }
    }
    samples.resize(static_cast<std::size_t>(seconds * rate));
    return samples;
}

constexpr std::size_t introFrames = 52920, loopFrames = 132300; // 1.2 s and 3 s

// The introduction, then the loop passes times; the passes after the first with noise at
// noiseLevel of full scale, as a lossy encoder's round trip leaves it (0: none, lossless).
std::vector<float> looped(double passes, double noiseLevel = 0)
{
    std::vector<float> data = music(1.2, 1);
    const std::vector<float> loop = music(3.0, 2);
    std::mt19937 random(3);
    std::normal_distribution<double> noise(0, noiseLevel > 0 ? noiseLevel : 1);
    for (std::size_t i = 0; i < static_cast<std::size_t>(passes * loopFrames); ++i)
        data.push_back(loop[i % loopFrames] + (i >= loopFrames && noiseLevel > 0 ? static_cast<float>(noise(random)) : 0));
    return data;
}

struct Judged {
    PieceDataCheck check;
    std::string message; // English, empty when nothing is found
};

// Checks a 16-bit stereo piece of the samples whose loop is [start, start + length) in frames.
Judged judged(const std::vector<float>& samples, std::size_t start, std::size_t length)
{
    std::string bytes;
    for (float sample : samples) {
        const auto value = static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(sample * 32767)));
        for (int channel = 0; channel < 2; ++channel)
            bytes += {static_cast<char>(value & 0xff), static_cast<char>(value >> 8)};
    }
    TempFolder folder;
    writeFileBytes(folder.file("bgm.dat"), bytes);
    MusicEntry entry = pieceEntry(2, rate, 16, static_cast<std::uint32_t>(start * 4), static_cast<std::uint32_t>(length * 4));
    entry.wave_file = "bgm.dat";
    entry.wave_size = static_cast<std::uint32_t>(bytes.size());
    WaveBuffer buffer;
    Judged result{checkPieceData(entry, folder.path(), buffer), ""};
    useLanguage(Language::English);
    if (!result.check.findings.empty())
        result.message = findingMessage(result.check.findings.front());
    return result;
}

constexpr std::size_t ms3 = 132; // 3 ms of frames

} // namespace

TEST(LoopJudgement, MusicThatRunsOnPassesHoweverRoughItsSeam)
{
    for (double noise : {0.0, 0.003}) { // lossless, and a lossy-like round trip about 30 dB down
        SCOPED_TRACE(noise);
        const Judged right = judged(looped(2.5, noise), introFrames, loopFrames);
        EXPECT_EQ(right.check.loop.judgedBy, JudgedBy::Music);
        EXPECT_TRUE(right.check.findings.empty()) << right.message;
        EXPECT_GT(right.check.loop.seam.measure, seamClickThreshold) << "the beat's attack is a step at the seam";
        EXPECT_LT(right.check.loop.difference, noise > 0 ? 0.05 : 1e-9);
    }
    // Nor a cut of half a millisecond, which changes the music less.
    const Judged slight = judged(looped(2.5, 0.003), introFrames, loopFrames + 20);
    EXPECT_EQ(slight.check.loop.judgedBy, JudgedBy::Music);
    EXPECT_GT(slight.check.loop.difference, 0.3);
    EXPECT_LT(slight.check.loop.difference, 0.6);
    EXPECT_EQ(slight.check.findings.size(), 1u);
    // A 2.4 ms cut, smooth or not, is no longer the music.
    const Judged cut = judged(looped(2.5, 0.003), introFrames, loopFrames + 106);
    ASSERT_EQ(cut.check.findings.size(), 1u);
    EXPECT_EQ(cut.check.findings[0].code, std::string("loop-seam"));
    EXPECT_EQ(cut.check.loop.judgedBy, JudgedBy::Music);
    EXPECT_GT(cut.check.loop.difference, 0.3);
    ASSERT_TRUE(cut.check.loop.suggestion);
    EXPECT_EQ(cut.check.loop.suggestion->lengthFrames, loopFrames);
    EXPECT_NEAR(cut.check.loop.suggestion->startShiftMs, 0, 0.05);
    EXPECT_NEAR(cut.check.loop.suggestion->endShiftMs, -2.4, 0.05);
}

TEST(LoopJudgement, SuggestionsMoveTheStartTheEndOrBothToWhereTheMusicRunsOn)
{
    const std::vector<float> data = looped(2.5);
    const struct {
        const char* name; std::size_t start, length, suggestedStart; double startMoved, endMoved;
    } cases[] = {
        {"end 3 ms late", introFrames, loopFrames + ms3, introFrames, 0, -3.0},
        {"end 3 ms early", introFrames, loopFrames - ms3, introFrames, 0, 3.0},
        {"start 3 ms late, end right", introFrames + ms3, loopFrames - ms3, introFrames, -3.0, 0},
        {"start 3 ms early in the introduction, end right", introFrames - ms3, loopFrames + ms3, introFrames, 3.0, 0},
        {"start in the introduction, length right", introFrames - 22050, loopFrames, introFrames, 500.0, 500.0},
        // Any start within the loop repeats: the author's is kept rather than the end.
        {"start within the loop, end 3 ms late", introFrames + 22050, loopFrames + ms3, introFrames + 22050, 0, -3.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Judged seen = judged(data, c.start, c.length);
        ASSERT_TRUE(seen.check.loop.suggestion) << seen.message;
        const LoopSuggestion& suggested = *seen.check.loop.suggestion;
        EXPECT_EQ(suggested.startFrame, c.suggestedStart);
        EXPECT_EQ(suggested.lengthFrames, loopFrames);
        EXPECT_EQ(suggested.loop_start, c.suggestedStart * 4);
        EXPECT_EQ(suggested.loop_size, loopFrames * 4);
        EXPECT_NEAR(suggested.startShiftMs, c.startMoved, 0.01);
        EXPECT_NEAR(suggested.endShiftMs, c.endMoved, 0.01);
        EXPECT_EQ(suggested.difference, 0.0);
    }
    const Judged late = judged(data, introFrames, loopFrames + ms3);
    const std::string difference = late.check.findings[0].values[0];
    EXPECT_EQ(late.message, "the music does not run on from the loop's end into its start: difference " + difference +
                                " (the same music is below 0.30, unrelated about 1); suggested: loop_start=211680 "
                                "loop_size=529200 (start 52920 frames, length 132300 frames; start moved +0.0 ms, "
                                "end moved -3.0 ms)");
    // A frame off: the sound runs on, the bytes do not.
    const Judged frame = judged(data, introFrames + 1, loopFrames - 1);
    EXPECT_EQ(frame.message.substr(0, frame.message.find(';')),
              "the data repeats byte for byte every 132300 frames from frame 52920, and this loop does not: a cut "
              "the sound around it hides");
    ASSERT_TRUE(frame.check.loop.suggestion);
    EXPECT_EQ(frame.check.loop.suggestion->startFrame, introFrames + 1); // the author's start repeats
    EXPECT_EQ(frame.check.loop.suggestion->lengthFrames, loopFrames);
    // Music that never comes back offers nothing.
    const Judged lost = judged(music(6, 4), introFrames, loopFrames);
    EXPECT_EQ(lost.message.substr(lost.message.find(';')),
              "; no loop whose length is within 70 ms of this one's runs on");
}

TEST(LoopJudgement, SilenceAfterTheEndTellsNothingAndARestIsSteppedOver)
{
    // One pass, then a second of padding: the waveform judges, and the seam does not click.
    std::vector<float> padded = looped(1.0);
    padded.resize(padded.size() + rate);
    const Judged pad = judged(padded, introFrames, loopFrames);
    EXPECT_EQ(pad.check.loop.judgedBy, JudgedBy::Waveform);
    // A loop that begins with a rest: the music is compared after it, start and end alike.
    std::vector<float> rest(rate + rate / 5, 0.0f);
    const std::vector<float> notes = music(2.0, 5);
    rest.insert(rest.end(), notes.begin(), notes.end());
    const std::vector<float> data = loopedMusic(music(1.2, 1), rest, 2.5);
    const Judged right = judged(data, introFrames, rest.size());
    EXPECT_EQ(right.check.loop.judgedBy, JudgedBy::Music);
    EXPECT_TRUE(right.check.findings.empty()) << right.message;
    // Its start in the rest, its end in the next pass's: the music after each differs.
    const Judged late = judged(data, introFrames + rate, rest.size() + rate / 10);
    EXPECT_EQ(late.check.loop.judgedBy, JudgedBy::Music);
    EXPECT_FALSE(late.check.findings.empty());
}

TEST(LoopJudgement, TooLittleAfterTheEndIsJudgedByTheDatasOwnRepetition)
{
    // The loop's second pass is the author's, and the data ends 50 ms after it: the data's last
    // second repeats the one a loop before, which tells the length.
    const std::vector<float> data = looped(2.0 + 2205.0 / loopFrames);
    const std::size_t second = introFrames + loopFrames;
    const Judged right = judged(data, second, loopFrames);
    EXPECT_EQ(right.check.loop.judgedBy, JudgedBy::Music);
    EXPECT_TRUE(right.check.findings.empty()) << right.message;
    const Judged late = judged(data, second, loopFrames + ms3);
    EXPECT_EQ(late.check.loop.judgedBy, JudgedBy::Music);
    ASSERT_TRUE(late.check.loop.suggestion) << late.message;
    EXPECT_EQ(late.check.loop.suggestion->startFrame, second);
    EXPECT_EQ(late.check.loop.suggestion->lengthFrames, loopFrames);
}

TEST(LoopJudgement, DataEndingAtTheLoopsEndIsJudgedByItsWaveform)
{
    // 441 periods of a 441 Hz tone and a quarter period more, the loop running to the data's end.
    std::vector<float> tone(1000 + loopFrames / 3 + 25);
    for (std::size_t i = 0; i < tone.size(); ++i)
        tone[i] = static_cast<float>(0.5 * std::sin(2 * pi * static_cast<double>(i) / 100));
    const Judged seen = judged(tone, 1000, tone.size() - 1000);
    EXPECT_EQ(seen.check.loop.judgedBy, JudgedBy::Waveform);
    ASSERT_TRUE(seen.check.loop.suggestion);
    const std::string measure = seen.check.findings[0].values[0], smoother = seen.check.findings[0].values.back();
    EXPECT_EQ(seen.message, "the loop's seam jumps, an audible click: measure " + measure +
                                " (smooth is about 1, above 8.0 is flagged); the data ends at the loop's end: only "
                                "shorter ends could be tried; smoother: loop_start=4000 loop_size=176400 (start 1000 "
                                "frames, length 44100 frames; start moved +0.0 ms, end moved -0.6 ms; measure " +
                                smoother + ")");
    // A little data past the end is too little for the music, and later ends are tried too.
    tone.resize(tone.size() + 100);
    for (std::size_t i = tone.size() - 100; i < tone.size(); ++i)
        tone[i] = static_cast<float>(0.5 * std::sin(2 * pi * static_cast<double>(i) / 100));
    const Judged shortTail = judged(tone, 1000, 44100 + 25);
    EXPECT_EQ(shortTail.check.loop.judgedBy, JudgedBy::Waveform);
    EXPECT_EQ(shortTail.message.substr(shortTail.message.find(';')), "; smoother: loop_start=4000 loop_size=176400 "
              "(start 1000 frames, length 44100 frames; start moved +0.0 ms, end moved -0.6 ms; measure " +
              shortTail.check.findings[0].values.back() + ")");
    // With data past the end the music judges; silence past it tells nothing, and the waveform does.
    tone.resize(tone.size() + rate / 2);
    EXPECT_EQ(judged(tone, 1000, 44100 + 25).check.loop.judgedBy, JudgedBy::Music);
    std::fill(tone.begin(), tone.end(), 0.0f);
    EXPECT_EQ(judged(tone, 1000, 44100 + 25).check.loop.judgedBy, JudgedBy::Waveform);
}
