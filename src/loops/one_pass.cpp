#include "loops/one_pass.h"

#include "loops/lag_match.h"
#include "loops/linear_prediction.h"

#include <algorithm>
#include <cmath>

namespace {

// The music before the data's end is compared with the music before each start over this long.
constexpr double contextSeconds = 0.5;
// Candidates closer than this are one.
constexpr double apartSeconds = 0.005;
// The predictor: its order, the samples it predicts on either side of the seam, and the stretch
// before the data's end it is fitted to.
constexpr std::size_t order = 24;
constexpr std::size_t predicted = 24;
constexpr std::size_t fitted = 2048;
// How much a seam's prediction error (in powers of ten over the music's own) weighs beside the
// surroundings' difference.
constexpr double seamWeight = 0.3;
// Differences below this may be the bytes themselves repeating.
constexpr double nearlySame = 0.01;
// A one-pass answer is a guess however well it fits.
constexpr double guessCeiling = 0.8;

// How much worse than the music's own residual the samples on both sides of the seam are
// predicted: about 1 where the data's end runs on into the start.
class SeamPrediction {
public:
    SeamPrediction(const PcmView& view, std::size_t end) : tail_(monoStretch(view, end - order - predicted, order + predicted))
    {
        predictor_ = fitPredictor(monoStretch(view, end - fitted, fitted), order);
    }

    double errorRatio(const PcmView& view, std::size_t start) const
    {
        if (predictor_.weights.empty())
            return 1;
        std::vector<float> joined(tail_);
        const std::vector<float> head = monoStretch(view, start, order + predicted);
        joined.insert(joined.end(), head.begin(), head.end());
        const std::size_t seam = tail_.size();
        const std::vector<double>& w = predictor_.weights;
        double error = 0;
        for (std::size_t j = 0; j < predicted; ++j) {
            double forward = 0, backward = 0;
            for (std::size_t k = 0; k < order; ++k) {
                forward += w[k] * joined[seam + j - 1 - k];
                backward += w[k] * joined[seam - j + k];
            }
            error += (joined[seam + j] - forward) * (joined[seam + j] - forward);
            error += (joined[seam - 1 - j] - backward) * (joined[seam - 1 - j] - backward);
        }
        constexpr double floorPower = 1e-10;
        return error / (2 * predicted * (predictor_.residualPower + floorPower));
    }

private:
    std::vector<float> tail_;
    Predictor predictor_;
};

} // namespace

std::vector<LoopCandidate> onePassSeams(const PcmView& view, double nearStart, const FrameRange& lengths,
                                        std::size_t count)
{
    const std::size_t n = view.frames();
    const std::size_t context = view.framesIn(contextSeconds);
    const double earliest = nearStart - nearReach, latest = nearStart + nearReach;
    const std::size_t margin = std::max(context, fitted);
    if (latest < 0 || n < margin + order + predicted)
        return {};
    // The start is n - length: a length range from the start's.
    const std::size_t latestFrame = std::min(n, view.framesIn(latest));
    const std::size_t earliestFrame = earliest > 0 ? view.framesIn(earliest) : 0;
    if (earliestFrame >= n)
        return {};
    FrameRange range{std::max(lengths.lowest, n - latestFrame), std::min(lengths.highest, n - earliestFrame)};
    range.highest = std::min(range.highest, n - margin);
    range.lowest = std::max(range.lowest, order + predicted);
    if (range.empty())
        return {};

    const std::vector<double> differences = lagDifferences(view, n - context, context, range.lowest, range.highest);
    const SeamPrediction seam(view, n);
    std::vector<double> ratios(differences.size()), score(differences.size());
    for (std::size_t i = 0; i < score.size(); ++i) {
        ratios[i] = seam.errorRatio(view, n - (range.lowest + i));
        // Surroundings that do not repeat the end's tell nothing, however near they come.
        const double surroundings = differences[i] < repeatThreshold ? differences[i] : 1.0;
        // An attack at the loop's start predicts badly too: the seam weighs at most as much as
        // surroundings that repeat.
        score[i] = surroundings + seamWeight * std::clamp(std::log10(ratios[i]), -1.0, 1.0);
        // Lossless data whose introduction ends as the loop does: the bytes themselves tell.
        const std::size_t length = range.lowest + i;
        if (differences[i] < nearlySame && view.sameFrames(n - context - length, n - context, context))
            score[i] -= 1;
    }
    std::vector<std::size_t> ranked(score.size());
    for (std::size_t i = 0; i < ranked.size(); ++i)
        ranked[i] = i;
    std::sort(ranked.begin(), ranked.end(), [&](std::size_t a, std::size_t b) { return score[a] < score[b]; });

    const std::size_t apart = view.framesIn(apartSeconds);
    std::vector<std::size_t> chosen;
    for (std::size_t i : ranked) {
        const bool near = std::any_of(chosen.begin(), chosen.end(), [&](std::size_t c) {
            return (c > i ? c - i : i - c) < apart;
        });
        if (!near)
            chosen.push_back(i);
        if (chosen.size() == count + 1)
            break;
    }
    std::vector<LoopCandidate> candidates;
    for (std::size_t rank = 0; rank < chosen.size() && rank < count; ++rank) {
        const std::size_t i = chosen[rank];
        // Told by the surroundings, or by a seam that fits far better than the next best.
        const double surroundings = std::max(0.0, 1 - differences[i] / (2 * repeatThreshold));
        const double next = rank + 1 < chosen.size() ? ratios[chosen[rank + 1]] : ratios[i];
        const double distinct = std::clamp(std::log10(std::max(1.0, next) / std::max(1.0, ratios[i])), 0.0, 1.0);
        LoopCandidate candidate;
        candidate.length = range.lowest + i;
        candidate.start = n - candidate.length;
        candidate.confidence = guessCeiling * std::max(surroundings, distinct);
        // Best first: none after the first is surer than the one before it.
        if (!candidates.empty())
            candidate.confidence = std::min(candidate.confidence, candidates.back().confidence);
        candidates.push_back(candidate);
    }
    return candidates;
}
