#include "check/music_run_on.h"

#include "loops/lag_match.h"
#include "loops/repeat_stretch.h"

#include <algorithm>
#include <vector>

namespace {

std::size_t distance(std::size_t a, std::size_t b) { return a > b ? a - b : b - a; }

struct Repeat {
    std::size_t lag = 0;
    std::size_t from = 0; // the stretch that repeats lag frames earlier
    double difference = 2;
};

// The lag near end - start at which the window from from repeats best.
Repeat bestLag(const PcmView& view, std::size_t start, std::size_t end, std::size_t from, std::size_t length)
{
    const std::size_t loopLength = end - start;
    const std::size_t reach = view.framesIn(lengthReachSeconds);
    const std::size_t lowest = loopLength > reach ? loopLength - reach : 1;
    const std::size_t highest = std::min(loopLength + reach, from);
    if (highest < lowest || !sounding(view, from, length))
        return Repeat();
    const std::vector<double> differences = lagDifferences(view, from, length, lowest, highest);
    const auto best = std::min_element(differences.begin(), differences.end());
    const std::size_t lag = lowest + static_cast<std::size_t>(best - differences.begin());
    return Repeat{exactLagNear(view, lag, from, length, lowest, highest), from, *best};
}

// The true length, from the window after the end or the data's last one, whichever repeats
// better: a start inside the introduction puts the introduction behind the first, an outro at
// the data's end spoils the second.
std::optional<Repeat> trueLength(const PcmView& view, std::size_t start, std::size_t end, const MusicWindow& window)
{
    const Repeat afterEnd = bestLag(view, start, end, end + window.offset, window.length);
    const Repeat dataEnd = bestLag(view, start, end, view.frames() - window.length, window.length);
    const Repeat& best = afterEnd.difference <= dataEnd.difference ? afterEnd : dataEnd;
    if (best.difference >= repeatThreshold)
        return std::nullopt;
    return best;
}

} // namespace

std::optional<MusicWindow> soundingWindow(const PcmView& view, std::size_t end, std::size_t windowFrames)
{
    const std::size_t length = std::min(windowFrames, view.frames() - end);
    for (std::size_t offset = 0; length > 0 && end + offset + length <= view.frames(); offset += length) {
        if (sounding(view, end + offset, length))
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
    const std::optional<Repeat> repeat = trueLength(view, start, end, window);
    if (!repeat)
        return std::nullopt;
    const std::size_t length = repeat->lag;
    const std::size_t earliest = repeatStretch(view, length, repeat->from - length).start;
    const std::size_t keptEnd = end >= length ? end - length : 0;
    const std::size_t slack = view.framesIn(0.001);
    std::vector<std::size_t> starts;
    for (std::size_t candidate : {start, keptEnd}) {
        if (distance(candidate, earliest) <= slack)
            starts.push_back(candidate);
    }
    starts.insert(starts.end(), {start, keptEnd, earliest});
    for (std::size_t candidate : starts) {
        if (candidate < earliest || candidate + length > view.frames())
            continue;
        const std::optional<double> difference = runOnDifference(view, candidate, candidate + length, window);
        if (difference && *difference < repeatThreshold)
            return RunningLoop{candidate, length, *difference,
                               view.sameFrames(repeat->from - length, repeat->from, window.length), earliest};
    }
    return std::nullopt;
}

std::optional<EndRepeat> endRepeatNear(const PcmView& view, std::size_t start, std::size_t end)
{
    const std::size_t length = std::min(view.framesIn(1.0), view.frames() / 4);
    if (length == 0 || end <= start)
        return std::nullopt;
    const std::size_t from = view.frames() - length;
    const Repeat repeat = bestLag(view, start, end, from, length);
    if (repeat.difference >= repeatThreshold)
        return std::nullopt;
    const RepeatStretch stretch = repeatStretch(view, repeat.lag, from - repeat.lag);
    const std::size_t slack = view.framesIn(0.001);
    const std::size_t keptEnd = end >= repeat.lag ? end - repeat.lag : 0;
    // The data's end repeats, so the music repeats from the stretch's start to the data's end.
    const auto repeats = [&](std::size_t candidate) {
        return candidate + slack >= stretch.start && candidate + repeat.lag <= view.frames();
    };
    std::vector<std::size_t> starts;
    for (std::size_t candidate : {start, keptEnd}) {
        if (distance(candidate, stretch.start) <= slack)
            starts.push_back(candidate);
    }
    starts.insert(starts.end(), {start, keptEnd, stretch.start});
    const auto chosen = std::find_if(starts.begin(), starts.end(), repeats);
    const std::size_t authorsLength = end - start;
    return EndRepeat{RunningLoop{*chosen, repeat.lag, repeat.difference},
                     authorsLength <= from ? stretchDifference(view, from - authorsLength, from, length) : 2.0,
                     repeats(start), view.sameFrames(from - repeat.lag, from, length),
                     authorsLength <= from && view.sameFrames(from - authorsLength, from, length)};
}
