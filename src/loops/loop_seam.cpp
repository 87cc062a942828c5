#include "loops/loop_seam.h"

#include "definition/output_rule.h"
#include "loops/pcm_view.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double silenceFloor = 1.0 / 8192;
// Loop ends whose measures differ by less than this are taken as equally smooth.
constexpr double equallySmooth = 0.5;
constexpr std::uint32_t shortestLoopFrames = 4;

// The measure of one channel for the loop [loopStart, loopEnd) in frames.
double channelMeasure(const PcmView& samples, std::uint32_t channel, std::uint32_t loopStart, std::uint32_t loopEnd,
                      std::uint32_t window)
{
    // The frames as they are heard around the seam: the end of the loop, then its start again.
    const std::uint32_t side = std::min(window, loopEnd - loopStart);
    std::vector<double> heard;
    heard.reserve(2 * side);
    for (std::uint32_t frame = loopEnd - side; frame < loopEnd; ++frame)
        heard.push_back(samples.at(frame, channel));
    for (std::uint32_t frame = loopStart; frame < loopStart + side; ++frame)
        heard.push_back(samples.at(frame, channel));

    auto step = [&](std::size_t k) { return heard[k + 1] - heard[k]; };
    auto surprise = [&](std::size_t k) { return step(k) - (step(k - 1) + step(k + 1)) / 2; };
    // The seam's step and its two neighbours, whose surprises include the seam's step: a jump
    // shows in the middle one, a bend (the slope turning at a zero crossing) in the outer ones.
    const std::size_t seam = side - 1;
    double seamSurprise = 0;
    double sum = 0;
    std::size_t count = 0;
    for (std::size_t k = 1; k + 2 < heard.size(); ++k) {
        if (k + 1 >= seam && k <= seam + 1) {
            seamSurprise = std::max(seamSurprise, std::fabs(surprise(k)));
            continue;
        }
        sum += surprise(k) * surprise(k);
        ++count;
    }
    double ordinary = count == 0 ? 0 : std::sqrt(sum / count);
    return seamSurprise / (ordinary + silenceFloor);
}

double seamMeasure(const PcmView& samples, std::uint32_t channels, std::uint32_t loopStart, std::uint32_t loopEnd,
                   std::uint32_t window)
{
    double largest = 0;
    for (std::uint32_t channel = 0; channel < channels; ++channel)
        largest = std::max(largest, channelMeasure(samples, channel, loopStart, loopEnd, window));
    return largest;
}

bool measurable(const MusicEntry& entry, const LoopFrames& loop)
{
    bool bitsKnown = entry.fmt_bits == 8 || entry.fmt_bits == 16 || entry.fmt_bits == 24;
    return bitsKnown && entry.fmt_channels > 0 && loop.end >= loop.start + shortestLoopFrames;
}

} // namespace

LoopSeam measureLoopSeam(const std::uint8_t* data, const MusicEntry& entry)
{
    LoopSeam seam;
    const LoopFrames loop = loopFrames(entry);
    if (!measurable(entry, loop))
        return seam;
    const PcmView samples(data, entry.wave_size, entry.fmt_channels, entry.fmt_bits, entry.fmt_samples);
    const std::uint32_t window = std::max<std::uint32_t>(8, entry.fmt_samples / 200);
    seam.measured = true;
    seam.measure = seamMeasure(samples, entry.fmt_channels, loop.start, loop.end, window);
    seam.clicks = seam.measure > seamClickThreshold;
    if (!seam.clicks)
        return seam;

    const std::uint64_t reach = static_cast<std::uint64_t>(entry.fmt_samples) * seamSearchMilliseconds / 1000;
    const std::uint64_t dataFrames = entry.wave_size / blockAlign(entry);
    const std::uint64_t first = std::max<std::uint64_t>(loop.start + shortestLoopFrames,
                                                        loop.end > reach ? loop.end - reach : 0);
    const std::uint64_t last = std::min<std::uint64_t>(dataFrames, loop.end + reach);
    std::vector<double> measures;
    for (std::uint64_t end = first; end <= last; ++end)
        measures.push_back(seamMeasure(samples, entry.fmt_channels, loop.start, static_cast<std::uint32_t>(end), window));
    double smoothest = measures.empty() ? 0 : *std::min_element(measures.begin(), measures.end());

    std::uint64_t chosen = loop.end;
    std::uint64_t distance = UINT64_MAX;
    for (std::size_t i = 0; i < measures.size(); ++i) {
        std::uint64_t end = first + i;
        std::uint64_t away = end > loop.end ? end - loop.end : loop.end - end;
        if (measures[i] <= smoothest + equallySmooth && away < distance) {
            chosen = end;
            distance = away;
            seam.suggestedMeasure = measures[i];
        }
    }
    seam.suggested = distance != UINT64_MAX && seam.suggestedMeasure <= seamClickThreshold;
    if (seam.suggested) {
        seam.loop_start = loop.start * blockAlign(entry);
        seam.loop_size = static_cast<std::uint32_t>((chosen - loop.start) * blockAlign(entry));
    }
    return seam;
}
