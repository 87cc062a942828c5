#include "check/music_run_on.h"

#include "loops/lag_match.h"
#include "loops/repeat_stretch.h"

#include <algorithm>
#include <vector>

namespace {

std::size_t distance(std::size_t a, std::size_t b) { return a > b ? a - b : b - a; }

// The lag near end - start at which the window after end repeats best; none when none repeats.
std::optional<std::size_t> trueLength(const PcmView& view, std::size_t start, std::size_t end,
                                      const MusicWindow& window)
{
    const std::size_t length = end - start;
    const std::size_t reach = view.framesIn(lengthReachSeconds);
    const std::size_t from = end + window.offset;
    const std::size_t lowest = length > reach ? length - reach : 1;
    const std::size_t highest = std::min(length + reach, from);
    if (highest < lowest || from + window.length > view.frames())
        return std::nullopt;
    const std::vector<double> differences = lagDifferences(view, from, window.length, lowest, highest);
    const auto best = std::min_element(differences.begin(), differences.end());
    if (*best >= repeatThreshold)
        return std::nullopt;
    const std::size_t lag = lowest + static_cast<std::size_t>(best - differences.begin());
    return exactLagNear(view, lag, from, window.length, lowest, highest);
}

} // namespace

std::optional<MusicWindow> soundingWindow(const PcmView& view, std::size_t start, std::size_t end,
                                          std::size_t windowFrames)
{
    const std::size_t length = std::min(windowFrames, view.frames() - end);
    for (std::size_t offset = 0; length > 0 && end + offset + length <= view.frames(); offset += length) {
        if (sounding(view, start + offset, length) || sounding(view, end + offset, length))
            return MusicWindow{offset, length};
    }
    return std::nullopt;
}

std::optional<double> runOnDifference(const PcmView& view, std::size_t start, std::size_t end,
                                      const MusicWindow& window)
{
    const std::size_t from = end + window.offset;
    if (from >= view.frames())
        return std::nullopt;
    return stretchDifference(view, start + window.offset, from, std::min(window.length, view.frames() - from));
}

std::optional<RunningLoop> runningLoopNear(const PcmView& view, std::size_t start, std::size_t end,
                                           const MusicWindow& window)
{
    const std::optional<std::size_t> length = trueLength(view, start, end, window);
    if (!length)
        return std::nullopt;
    const std::size_t earliest = repeatStretch(view, *length, end + window.offset - *length).start;
    const std::size_t keptEnd = end >= *length ? end - *length : 0;
    const std::size_t slack = view.framesIn(0.001);
    std::vector<std::size_t> starts;
    for (std::size_t candidate : {start, keptEnd}) {
        if (distance(candidate, earliest) <= slack)
            starts.push_back(candidate);
    }
    starts.insert(starts.end(), {start, keptEnd, earliest});
    for (std::size_t candidate : starts) {
        if (candidate < earliest || candidate + *length > view.frames())
            continue;
        const std::optional<double> difference = runOnDifference(view, candidate, candidate + *length, window);
        if (difference && *difference < repeatThreshold)
            return RunningLoop{candidate, *length, *difference};
    }
    return std::nullopt;
}
