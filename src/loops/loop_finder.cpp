#include "loops/loop_finder.h"

#include "loops/lag_match.h"
#include "loops/likely_lengths.h"
#include "loops/one_pass.h"
#include "loops/repeat_stretch.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr std::size_t coarseLengths = 24;
constexpr std::size_t lengthsWalked = 6;
constexpr std::size_t candidatesShown = 3;
// How far around a coarse length the exact one is looked for, in outline steps (a hundredth of a
// second each).
constexpr double coarseReachSeconds = 0.03;
constexpr double referenceSeconds = 1.0;
constexpr double shortestRepeatSeconds = 0.5;
// A stretch repeating this long (or a whole loop, if shorter) shows the loop beyond doubt.
constexpr double convincingSeconds = 10.0;

std::size_t distance(std::size_t a, std::size_t b) { return a > b ? a - b : b - a; }

// The loudest of a few places for the reference stretch within [first, last].
std::size_t loudestPlace(const PcmView& view, std::size_t first, std::size_t last, std::size_t length)
{
    std::size_t chosen = last;
    double loudest = -1;
    constexpr int places = 8;
    for (int i = 0; i <= places; ++i) {
        const std::size_t at = first + (last - first) * static_cast<std::size_t>(i) / places;
        double energy = 0;
        for (std::size_t t = at; t < at + length; t += 4)
            energy += static_cast<double>(view.mono(t)) * view.mono(t);
        if (energy > loudest) {
            loudest = energy;
            chosen = at;
        }
    }
    return chosen;
}

// A length at which the data's end repeats, and how nearly.
struct ExactLength {
    std::size_t lag = 0;
    double difference = 0;
    std::size_t from = 0; // where the compared second of the data's end begins
    bool exact = false;   // byte for byte there
};

class RepeatSearch {
public:
    RepeatSearch(const PcmView& view, const LoopSearch& search) : view_(view), search_(search) {}

    // The exact length near a coarse one, within lengths, where a second of the data's end
    // repeats it; none where nothing there repeats.
    std::optional<ExactLength> exactLength(std::size_t coarse, const FrameRange& lengths) const
    {
        const std::size_t n = view_.frames();
        const std::size_t reach = view_.framesIn(coarseReachSeconds);
        const FrameRange range{std::max(lengths.lowest, coarse > reach ? coarse - reach : 0),
                               std::min(lengths.highest, coarse + reach)};
        if (range.empty() || range.highest >= n)
            return std::nullopt;
        const std::size_t length = std::min(view_.framesIn(referenceSeconds),
                                            std::max(view_.framesIn(0.25), (n - range.highest) / 4));
        if (length == 0 || range.highest + length > n)
            return std::nullopt;
        const std::size_t last = n - length;
        const std::size_t first = std::max(range.highest, n - std::max(length, (n - range.highest) / 2));
        const std::size_t from = loudestPlace(view_, std::min(first, last), last, length);
        if (!sounding(view_, from, length))
            return std::nullopt;
        const std::vector<double> differences = lagDifferences(view_, from, length, range.lowest, range.highest);
        const auto best = std::min_element(differences.begin(), differences.end());
        if (*best >= repeatThreshold)
            return std::nullopt;
        const std::size_t lag = range.lowest + static_cast<std::size_t>(best - differences.begin());
        ExactLength exact{exactLagNear(view_, lag, from, length, range.lowest, range.highest), *best, from};
        exact.exact = view_.sameFrames(exact.from - exact.lag, exact.from, length);
        return exact;
    }

    // The loop of that length: where the music repeats at it, and how sure that is.
    bool loopOf(const ExactLength& found, LoopCandidate& candidate) const
    {
        const std::size_t lag = found.lag;
        const RepeatStretch stretch = repeatStretch(view_, lag, exactPlace(lag, found.from - lag));
        const std::size_t repeated = stretch.end - stretch.start;
        const double wholeEnough = std::min<double>(lag, view_.framesIn(convincingSeconds));
        if (stretch.sounding < view_.framesIn(shortestRepeatSeconds) ||
            repeated < std::max<double>(view_.framesIn(shortestRepeatSeconds), wholeEnough / 4))
            return false;
        const double coverage = std::min(1.0, repeated / wholeEnough);
        candidate.length = lag;
        candidate.start = startNearHint(stretch);
        candidate.exact = stretch.exact;
        // Sound repeating byte for byte for a second is no accident.
        const double soundingSeconds = static_cast<double>(stretch.sounding) / view_.rate();
        candidate.confidence = stretch.exact ? 0.6 + 0.4 * std::min(1.0, soundingSeconds)
                                             : 0.5 * (1 - found.difference / repeatThreshold) + 0.45 * coverage;
        return true;
    }

private:
    // Where the bytes repeat exactly, if they do anywhere before at: a file written with a fade
    // repeats exactly only before it. Else at itself.
    std::size_t exactPlace(std::size_t lag, std::size_t at) const
    {
        constexpr std::size_t block = 4096;
        for (std::size_t t = at; t + lag + block <= view_.frames(); t = t >= block ? t - block : 0) {
            if (view_.sameFrames(t, t + lag, block) && sounding(view_, t, block))
                return t;
            if (t == 0)
                break;
        }
        return at;
    }

    // Any start from the earliest on is seamless; told where the author hears it, the earliest
    // within reach of that.
    std::size_t startNearHint(const RepeatStretch& stretch) const
    {
        if (!search_.nearStart)
            return stretch.start;
        const double earliest = *search_.nearStart - nearReach;
        const std::size_t hinted = earliest > 0 ? view_.framesIn(earliest) : 0;
        return hinted > stretch.start && hinted < stretch.end ? hinted : stretch.start;
    }

    const PcmView& view_;
    const LoopSearch& search_;
};

// Every loop is also a loop at twice its length; the shortest one is the loop.
void shortestFirst(std::vector<LoopCandidate>& candidates)
{
    std::sort(candidates.begin(), candidates.end(), [](const LoopCandidate& a, const LoopCandidate& b) {
        return a.confidence != b.confidence ? a.confidence > b.confidence : a.length < b.length;
    });
    if (candidates.empty())
        return;
    for (std::size_t i = 1; i < candidates.size(); ++i) {
        const LoopCandidate& best = candidates.front();
        const LoopCandidate& other = candidates[i];
        const double times = static_cast<double>(best.length) / other.length;
        const double whole = std::round(times);
        if (whole >= 2 && distance(best.length, static_cast<std::size_t>(whole) * other.length) <= whole * 2 &&
            other.confidence >= best.confidence - 0.15)
            std::rotate(candidates.begin(), candidates.begin() + static_cast<std::ptrdiff_t>(i),
                        candidates.begin() + static_cast<std::ptrdiff_t>(i) + 1);
    }
}

bool wholeDataSilent(const PcmView& view)
{
    constexpr std::size_t piece = 1 << 16;
    for (std::size_t at = 0; at < view.frames(); at += piece) {
        if (sounding(view, at, std::min(piece, view.frames() - at)))
            return false;
    }
    return true;
}

FrameRange allowedLengths(const PcmView& view, const LoopSearch& search)
{
    FrameRange lengths{view.framesIn(search.minSeconds), view.frames()};
    if (search.maxSeconds)
        lengths.highest = std::min(lengths.highest, view.framesIn(*search.maxSeconds));
    if (search.nearLength) {
        const double low = *search.nearLength - nearReach;
        lengths.lowest = std::max(lengths.lowest, low > 0 ? view.framesIn(low) : 0);
        lengths.highest = std::min(lengths.highest, view.framesIn(*search.nearLength + nearReach));
    }
    lengths.lowest = std::max<std::size_t>(lengths.lowest, 1);
    return lengths;
}

} // namespace

FoundLoop findLoop(const PcmView& view, const LoopSearch& search)
{
    FoundLoop found;
    const FrameRange lengths = allowedLengths(view, search);
    const bool nearGiven = search.nearStart || search.nearLength;
    if (!view.readable() || view.frames() < view.framesIn(search.minSeconds)) {
        found.reason = NotFound::TooShort;
        return found;
    }
    if (wholeDataSilent(view)) {
        found.reason = NotFound::Silent;
        return found;
    }
    if (lengths.empty() || lengths.lowest >= view.frames()) {
        found.reason = nearGiven ? NotFound::NothingNear : NotFound::TooShort;
        return found;
    }
    const RepeatSearch repeats(view, search);
    // A repetition shows only where the data holds the loop and half of it again; longer lags
    // compare too little to tell.
    const std::size_t longestRepeat = std::min(lengths.highest, view.frames() * 2 / 3);
    std::vector<ExactLength> lengthsFound;
    std::vector<std::size_t> tried;
    const std::size_t sameReach = view.framesIn(coarseReachSeconds) / 2;
    for (std::size_t outline : likelyLengths(view, lengths.lowest, longestRepeat, coarseLengths)) {
        // The outline repeats best where whole steps fit the loop, often at twice or three times
        // its length: those fractions are tried too, each place once.
        for (std::size_t parts = 1; parts <= 3; ++parts) {
            const std::size_t coarse = outline / parts;
            if (coarse < lengths.lowest || std::any_of(tried.begin(), tried.end(), [&](std::size_t t) {
                    return distance(t, coarse) < sameReach;
                }))
                continue;
            tried.push_back(coarse);
            const std::optional<ExactLength> exact = repeats.exactLength(coarse, lengths);
            const bool known = exact && std::any_of(lengthsFound.begin(), lengthsFound.end(), [&](const ExactLength& e) {
                                   return distance(e.lag, exact->lag) <= 2;
                               });
            if (exact && !known)
                lengthsFound.push_back(*exact);
        }
    }
    // Walking a repetition costs a pass over the data: only the lengths that repeat best are.
    std::sort(lengthsFound.begin(), lengthsFound.end(), [](const ExactLength& a, const ExactLength& b) {
        return a.exact != b.exact ? a.exact : a.difference < b.difference;
    });
    for (std::size_t i = 0; i < lengthsFound.size() && i < lengthsWalked; ++i) {
        LoopCandidate candidate;
        if (repeats.loopOf(lengthsFound[i], candidate))
            found.candidates.push_back(candidate);
    }
    shortestFirst(found.candidates);
    if (found.candidates.empty() && search.nearStart && search.nearLength) {
        found.loopCase = LoopCase::OnePass;
        found.candidates = onePassSeams(view, *search.nearStart, lengths, candidatesShown);
        if (found.candidates.empty())
            found.reason = NotFound::NothingNear;
        return found;
    }
    if (found.candidates.size() > candidatesShown)
        found.candidates.resize(candidatesShown);
    if (found.candidates.empty())
        found.reason = NotFound::NoRepeat;
    return found;
}

const char* notFoundCode(NotFound reason)
{
    switch (reason) {
    case NotFound::None:
        break;
    case NotFound::Silent:
        return "silent";
    case NotFound::TooShort:
        return "too-short";
    case NotFound::NoRepeat:
        return "no-repeat";
    case NotFound::NothingNear:
        return "nothing-near";
    }
    return "";
}
