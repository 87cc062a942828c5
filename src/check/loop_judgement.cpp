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

// The waveform measure of the suggested loop's seam, where it can be measured.
void measureSeam(const std::uint8_t* data, const MusicEntry& entry, LoopSuggestion& suggested)
{
    MusicEntry moved = entry;
    moved.loop_start = suggested.loop_start;
    moved.loop_size = suggested.loop_size;
    const LoopSeam seam = measureLoopSeam(data, moved);
    if (seam.measured)
        suggested.measure = seam.measure;
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
        soundingWindow(view, loop.end, view.framesIn(musicWindowSeconds));
    if (!window)
        return false;
    judgement.judgedBy = JudgedBy::Music;
    judgement.difference = runOnDifference(view, loop.start, loop.end, *window).value_or(0);
    judgement.flagged = judgement.difference >= repeatThreshold;
    const std::optional<RunningLoop> running = runningLoopNear(view, loop.start, loop.end, *window);
    const std::size_t compared = std::min(window->length, view.frames() - (loop.end + window->offset));
    const bool authorsExact = view.sameFrames(loop.start + window->offset, loop.end + window->offset, compared);
    if (!judgement.flagged && running && running->exact && (!authorsExact || loop.start < running->earliest)) {
        judgement.flagged = true;
        judgement.bytesRepeatOtherwise = true;
        judgement.repeatLength = running->length;
        judgement.repeatFrom = running->earliest;
    }
    if (!judgement.flagged)
        return true;
    if (running) {
        LoopSuggestion suggested = suggestion(entry, loop, running->start, running->length);
        suggested.difference = running->difference;
        measureSeam(data, entry, suggested);
        judgement.suggestion = suggested;
    }
    return true;
}

// Where too little follows the loop's end, by the music's own repetition at the data's end; false
// when the data's end repeats nothing near the loop's length.
bool judgeByRepetition(const std::uint8_t* data, const MusicEntry& entry, const LoopFrames& loop,
                       LoopJudgement& judgement)
{
    const PcmView view(data, entry.wave_size, entry.fmt_channels, entry.fmt_bits, entry.fmt_samples);
    if (!view.readable() || loop.end > view.frames())
        return false;
    const std::optional<EndRepeat> repeat = endRepeatNear(view, loop.start, loop.end);
    if (!repeat)
        return false;
    judgement.judgedBy = JudgedBy::Music;
    judgement.difference = repeat->authorsDifference;
    // Where the bytes repeat, only their own length runs on exactly.
    const bool otherLength = repeat->exact && !repeat->authorsExact;
    judgement.flagged = repeat->authorsDifference >= repeatThreshold || !repeat->authorsStartRepeats || otherLength;
    if (judgement.flagged) {
        LoopSuggestion suggested = suggestion(entry, loop, repeat->loop.start, repeat->loop.length);
        suggested.difference = repeat->loop.difference;
        measureSeam(data, entry, suggested);
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
    if (loop.end > loop.start && entry.fmt_samples > 0 && judgeByRepetition(data, entry, loop, judgement))
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
