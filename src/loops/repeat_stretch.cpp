#include "loops/repeat_stretch.h"

#include "loops/lag_match.h"

namespace {

constexpr std::size_t block = 2048;
// Lossy data: the start is looked for in windows this long, this far apart.
constexpr std::size_t fineWindow = 512;
constexpr std::size_t fineStep = 64;
// Going forward, a lossy encoder's smear of a block now and then does not end the stretch; going
// back, the first block that differs does, and the start is looked for within it.
constexpr int lossyMisses = 2;

class Walk {
public:
    Walk(const PcmView& view, std::size_t lag, bool exact)
        : view_(view), lag_(lag), exact_(exact), missesAllowed_(exact ? 1 : lossyMisses)
    {
    }

    // Whether [t, t + count) repeats lag frames later; quiet stretches repeat quiet ones.
    bool repeats(std::size_t t, std::size_t count) const
    {
        if (exact_)
            return view_.sameFrames(t, t + lag_, count);
        return stretchDifference(view_, t, t + lag_, count) < repeatThreshold ||
               (!sounding(view_, t, count) && !sounding(view_, t + lag_, count));
    }

    // The blocks of the stretch before at, block by block; returns the first block's frame.
    std::size_t backToBlock(std::size_t at, std::size_t& soundingFrames) const
    {
        std::size_t start = at;
        int misses = 0;
        for (std::size_t t = at; t >= block && misses < 1;) {
            t -= block;
            if (!repeats(t, block)) {
                ++misses;
                continue;
            }
            misses = 0;
            start = t;
            if (sounding(view_, t, block))
                soundingFrames += block;
        }
        return start;
    }

    // The first frame of the stretch, from the first block found.
    std::size_t backToFrame(std::size_t start) const
    {
        if (exact_) {
            while (start > 0 && view_.sameFrames(start - 1, start - 1 + lag_, 1))
                --start;
            return start;
        }
        // The first block matched as a whole, yet it may begin in quiet sound that differs: the
        // windows start from within it.
        start = start + block - fineWindow;
        while (start >= fineStep && repeats(start - fineStep, fineWindow))
            start -= fineStep;
        return start;
    }

    std::size_t forward(std::size_t at, std::size_t& soundingFrames) const
    {
        std::size_t end = at;
        int misses = 0;
        for (std::size_t t = at; t + block + lag_ <= view_.frames() && misses < missesAllowed_; t += block) {
            if (!repeats(t, block)) {
                ++misses;
                continue;
            }
            misses = 0;
            end = t + block;
            if (sounding(view_, t, block))
                soundingFrames += block;
        }
        return end;
    }

private:
    const PcmView& view_;
    std::size_t lag_;
    bool exact_;
    int missesAllowed_;
};

} // namespace

RepeatStretch repeatStretch(const PcmView& view, std::size_t lag, std::size_t at)
{
    RepeatStretch stretch;
    const std::size_t count = at + lag + block <= view.frames() ? block : view.frames() - lag - at;
    stretch.exact = view.sameFrames(at, at + lag, count);
    const Walk walk(view, lag, stretch.exact);
    stretch.start = walk.backToFrame(walk.backToBlock(at, stretch.sounding));
    stretch.end = walk.forward(at, stretch.sounding);
    return stretch;
}
