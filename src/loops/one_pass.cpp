#include "loops/one_pass.h"

#include "loops/lag_match.h"

#include <algorithm>
#include <cmath>

namespace {

// The music before the data's end is compared with the music before each start over this long.
constexpr double contextSeconds = 0.5;
// Candidates closer than this are one.
constexpr double apartSeconds = 0.005;
// How much a jump at the seam weighs beside the surroundings' difference.
constexpr double jumpWeight = 0.02;
constexpr double largestJump = 50;
constexpr std::size_t bendFrames = 64;
constexpr double bendFloor = 1.0 / 8192;

// The mean size of the sound's bend (second difference) over count frames from first, all channels.
double usualBend(const PcmView& view, std::size_t first, std::size_t count)
{
    double sum = 0;
    for (std::uint32_t channel = 0; channel < view.channels(); ++channel) {
        for (std::size_t t = first + 2; t < first + count; ++t)
            sum += std::fabs(view.at(t, channel) - 2 * view.at(t - 1, channel) + view.at(t - 2, channel));
    }
    return sum / static_cast<double>(view.channels() * (count - 2));
}

// How far the seam from the frame before end to start stands out from the bends around it.
double seamJump(const PcmView& view, std::size_t start, std::size_t end, double tailBend)
{
    double jump = 0;
    for (std::uint32_t channel = 0; channel < view.channels(); ++channel) {
        const double before = view.at(end - 1, channel), beforeThat = view.at(end - 2, channel);
        const double first = view.at(start, channel), second = view.at(start + 1, channel);
        jump += std::fabs(first - (2 * before - beforeThat)) + std::fabs(before - (2 * first - second));
    }
    const double bend = (tailBend + usualBend(view, start, bendFrames)) / 2 + bendFloor;
    return std::min(largestJump, jump / (2 * view.channels() * bend));
}

} // namespace

std::vector<LoopCandidate> onePassSeams(const PcmView& view, double nearStart, const FrameRange& lengths,
                                        std::size_t count)
{
    const std::size_t n = view.frames();
    const std::size_t context = view.framesIn(contextSeconds);
    const double earliest = nearStart - nearReach, latest = nearStart + nearReach;
    if (latest < 0 || n < context + bendFrames)
        return {};
    // The start is n - length: a length range from the start's.
    const std::size_t latestFrame = std::min(n, view.framesIn(latest));
    const std::size_t earliestFrame = earliest > 0 ? view.framesIn(earliest) : 0;
    if (earliestFrame >= n)
        return {};
    FrameRange range{std::max(lengths.lowest, n - latestFrame), std::min(lengths.highest, n - earliestFrame)};
    range.highest = std::min(range.highest, n - context);
    range.lowest = std::max(range.lowest, bendFrames);
    if (range.highest + bendFrames > n)
        range.highest = n - bendFrames;
    if (range.empty())
        return {};

    const std::vector<double> differences = lagDifferences(view, n - context, context, range.lowest, range.highest);
    const double tailBend = usualBend(view, n - bendFrames, bendFrames);
    std::vector<double> score(differences.size());
    for (std::size_t i = 0; i < score.size(); ++i) {
        const std::size_t length = range.lowest + i;
        score[i] = differences[i] + jumpWeight * seamJump(view, n - length, n, tailBend);
    }
    std::vector<std::size_t> order(score.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return score[a] < score[b]; });

    const std::size_t apart = view.framesIn(apartSeconds);
    std::vector<LoopCandidate> candidates;
    for (std::size_t i : order) {
        const std::size_t length = range.lowest + i;
        const bool near = std::any_of(candidates.begin(), candidates.end(), [&](const LoopCandidate& c) {
            return (c.length > length ? c.length - length : length - c.length) < apart;
        });
        if (near)
            continue;
        LoopCandidate candidate;
        candidate.length = length;
        candidate.start = n - length;
        // One pass cannot show a repetition: however well it continues, this stays a guess.
        candidate.confidence = 0.8 * std::max(0.0, 1 - differences[i] / (2 * repeatThreshold));
        candidates.push_back(candidate);
        if (candidates.size() == count)
            break;
    }
    return candidates;
}
