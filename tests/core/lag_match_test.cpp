#include "loops/lag_match.h"
#include "support/synthetic_music.h"

#include <gtest/gtest.h>

#include <algorithm>

// The figures the searches and check's judgement rest on, on known stretches.
TEST(LagMatch, DifferencesOfKnownStretches)
{
    const std::uint32_t rate = 8000;
    // A second of music, the same second at half its level, and another second.
    std::vector<float> samples = syntheticMusic(1.0, rate, 20);
    const std::size_t second = samples.size();
    for (std::size_t i = 0; i < second; ++i)
        samples.push_back(samples[i] / 2);
    const std::vector<float> other = syntheticMusic(1.0, rate, 21);
    samples.insert(samples.end(), other.begin(), other.end());
    const std::vector<std::uint8_t> bytes = pcmBytes(samples, 16, 1);
    const PcmView view(bytes.data(), bytes.size(), 1, 16, rate);

    EXPECT_NEAR(stretchDifference(view, 0, 0, second), 0.0, 1e-9);
    // (1 - 1/2)^2 / (1 + 1/4)
    EXPECT_NEAR(stretchDifference(view, 0, second, second), 0.2, 1e-3);
    EXPECT_NEAR(stretchDifference(view, second, 0, second), 0.2, 1e-3);
    EXPECT_NEAR(stretchDifference(view, 0, 2 * second, second), 1.0, 0.15);
    EXPECT_NEAR(stretchCorrelation(view, 0, second, second), 1.0, 1e-4);
    EXPECT_NEAR(levelRatio(view, 0, second, second), std::log10(4.0), 1e-3);

    // Every lag at once, as one by one: the half-level copy lies one second back.
    const std::vector<double> lags = lagDifferences(view, second + 200, second / 2, second - 100, second + 100);
    ASSERT_EQ(lags.size(), 201u);
    EXPECT_NEAR(lags[100], 0.2, 1e-3);
    EXPECT_NEAR(lags[37], stretchDifference(view, second + 200, 263, second / 2), 1e-4);
    EXPECT_EQ(std::min_element(lags.begin(), lags.end()) - lags.begin(), 100);

    EXPECT_TRUE(sounding(view, 0, second));
    const std::vector<float> quiet(rate, 0.0002f); // -74 dB
    const std::vector<std::uint8_t> quietBytes = pcmBytes(quiet, 24, 1);
    EXPECT_FALSE(sounding(PcmView(quietBytes.data(), quietBytes.size(), 1, 24, rate), 0, rate));
}
