#include "loops/likely_lengths.h"

#include "loops/correlation.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double outlineRate = 100; // values a second
constexpr double logFloor = 1e-9;
// Peaks closer than this (in outline steps) are one peak.
constexpr std::size_t peakSpacing = 10;

struct Outline {
    std::vector<float> loudness;   // log of the power
    std::vector<float> brightness; // log of the power of the frame-to-frame steps
};

Outline outlineOf(const PcmView& view, std::size_t hop)
{
    Outline outline;
    const std::size_t steps = view.frames() / hop;
    outline.loudness.reserve(steps);
    outline.brightness.reserve(steps);
    float previous = 0;
    for (std::size_t step = 0; step < steps; ++step) {
        double power = 0, stepPower = 0;
        for (std::size_t i = 0; i < hop; ++i) {
            const float value = view.mono(step * hop + i);
            power += static_cast<double>(value) * value;
            stepPower += static_cast<double>(value - previous) * (value - previous);
            previous = value;
        }
        outline.loudness.push_back(static_cast<float>(std::log10(logFloor + power / hop)));
        outline.brightness.push_back(static_cast<float>(std::log10(logFloor + stepPower / hop)));
    }
    return outline;
}

// The correlation coefficient of the last third of values with the same length lag steps before
// it, for every lag up to lags. Data holding a loop repeats it at its end; its beginning (the
// introduction, unlike anything after it) is left out of the comparison this way.
std::vector<double> lagCorrelations(const std::vector<float>& values, std::size_t lags)
{
    const std::size_t n = values.size(), tail = n - n / 3 * 2;
    const std::size_t first = n - tail;
    const std::vector<float> pattern(values.begin() + static_cast<std::ptrdiff_t>(first), values.end());
    const std::vector<double> products = slidingProducts(values, pattern);
    std::vector<double> sum(n + 1, 0), squares(n + 1, 0);
    for (std::size_t i = 0; i < n; ++i) {
        sum[i + 1] = sum[i] + values[i];
        squares[i + 1] = squares[i] + static_cast<double>(values[i]) * values[i];
    }
    const double count = static_cast<double>(tail);
    const double sumB = sum[n] - sum[first], squaresB = squares[n] - squares[first];
    std::vector<double> result(std::min(lags, first + 1), 0);
    for (std::size_t lag = 1; lag < result.size(); ++lag) {
        const std::size_t offset = first - lag;
        const double sumA = sum[offset + tail] - sum[offset];
        const double squaresA = squares[offset + tail] - squares[offset];
        const double covariance = products[offset] - sumA * sumB / count;
        const double spread = (squaresA - sumA * sumA / count) * (squaresB - sumB * sumB / count);
        result[lag] = spread > 0 ? covariance / std::sqrt(spread) : 0;
    }
    return result;
}

} // namespace

std::vector<std::size_t> likelyLengths(const PcmView& view, std::size_t lowest, std::size_t highest,
                                       std::size_t count)
{
    const std::size_t hop = std::max<std::size_t>(1, static_cast<std::size_t>(view.rate() / outlineRate));
    const Outline outline = outlineOf(view, hop);
    const std::size_t first = std::max<std::size_t>(1, lowest / hop), last = highest / hop;
    if (outline.loudness.size() < 2 || last < first)
        return {};
    const std::vector<double> loud = lagCorrelations(outline.loudness, last + 2);
    const std::vector<double> bright = lagCorrelations(outline.brightness, last + 2);
    std::vector<double> score(loud.size());
    for (std::size_t lag = 0; lag < score.size(); ++lag)
        score[lag] = loud[lag] + bright[lag];

    std::vector<std::size_t> peaks;
    for (std::size_t lag = first; lag <= last && lag < score.size(); ++lag) {
        const bool aboveLeft = lag == first || score[lag] >= score[lag - 1];
        const bool aboveRight = lag + 1 >= score.size() || lag == last || score[lag] >= score[lag + 1];
        if (aboveLeft && aboveRight)
            peaks.push_back(lag);
    }
    std::sort(peaks.begin(), peaks.end(), [&](std::size_t a, std::size_t b) { return score[a] > score[b]; });
    std::vector<std::size_t> lengths;
    for (std::size_t lag : peaks) {
        const bool apart = std::all_of(lengths.begin(), lengths.end(), [&](std::size_t taken) {
            const std::size_t other = taken / hop;
            return (lag > other ? lag - other : other - lag) >= peakSpacing;
        });
        if (apart)
            lengths.push_back(lag * hop);
        if (lengths.size() == count)
            break;
    }
    return lengths;
}
