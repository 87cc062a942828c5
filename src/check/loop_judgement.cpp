#include "check/loop_judgement.h"

#include "check/music_run_on.h"
#include "definition/output_rule.h"
#include "loops/lag_match.h"

namespace {

double milliseconds(std::size_t to, std::size_t from, std::uint32_t rate)
{
    return (static_cast<double>(to) - static_cast<double>(from)) * 1000.0 / rate;
}

LoopSuggestion suggestion(const MusicEntry& entry, const LoopFrames& loop,
                          std::size_t start, std::size_t length)
{
    LoopSuggestion suggested;
    const std::uint32_t frameBytes = blockAlign(entry);
    suggested.loop_start = static_cast<std::uint32_t>(start * frameBytes);
    suggested.loop_size = static_cast<std::uint32_t>(length * frameBytes);
    suggested.startFrame = start;
    suggested.lengthFrames = length;
    suggested.startShiftMs = milliseconds(start, loop.start, entry.fmt_samples);
    suggested.endShiftMs = milliseconds(start + length, loop.end, entry.fmt_samples);
    return suggested;
}

// False when the music cannot judge: data it cannot read, or silence past the end and after the
// start alike.
bool judgeByMusic(const std::uint8_t* data, const MusicEntry& entry, const LoopFrames& loop,
                  LoopJudgement& judgement)
{
    const PcmView view(data, entry.wave_size, entry.fmt_channels, entry.fmt_bits, entry.fmt_samples);
    if (!view.readable() || loop.end > view.frames())
        return false;
    const std::optional<MusicWindow> window =
        soundingWindow(view, loop.start, loop.end, view.framesIn(musicWindowSeconds));
    if (!window)
        return false;
    judgement.judgedBy = JudgedBy::Music;
    judgement.difference = runOnDifference(view, loop.start, loop.end, *window).value_or(0);
    judgement.flagged = judgement.difference >= repeatThreshold;
    if (!judgement.flagged)
        return true;
    if (const std::optional<RunningLoop> running = runningLoopNear(view, loop.start, loop.end, *window)) {
        LoopSuggestion suggested = suggestion(entry, loop, running->start, running->length);
        suggested.difference = running->difference;
        MusicEntry moved = entry;
        moved.loop_start = suggested.loop_start;
        moved.loop_size = suggested.loop_size;
        const LoopSeam seam = measureLoopSeam(data, moved);
        if (seam.measured)
            suggested.measure = seam.measure;
        judgement.suggestion = suggested;
    }
    return true;
}

} // namespace

LoopJudgement judgeLoop(const std::uint8_t* data, const MusicEntry& entry)
{
    LoopJudgement judgement;
    judgement.seam = measureLoopSeam(data, entry);
    const LoopFrames loop = loopFrames(entry);
    const std::uint32_t frameBytes = blockAlign(entry);
    const std::size_t dataFrames = frameBytes == 0 ? 0 : entry.wave_size / frameBytes;
    const std::size_t tail = loop.end < dataFrames ? dataFrames - loop.end : 0;
    const bool musicFollows = loop.end > loop.start && entry.fmt_samples > 0 &&
                              tail >= static_cast<std::size_t>(musicTailSeconds * entry.fmt_samples);
    if (musicFollows && judgeByMusic(data, entry, loop, judgement))
        return judgement;
    judgement.dataEndsAtLoopEnd = tail == 0;
    judgement.flagged = judgement.seam.clicks;
    if (judgement.seam.suggested) {
        LoopSuggestion suggested = suggestion(entry, loop, loop.start, judgement.seam.loop_size / frameBytes);
        suggested.measure = judgement.seam.suggestedMeasure;
        judgement.suggestion = suggested;
    }
    return judgement;
}
