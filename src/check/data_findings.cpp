#include "check/data_findings.h"

#include "check/music_run_on.h"
#include "definition/output_rule.h"
#include "loops/lag_match.h"
#include "platform/file_handle.h"
#include "platform/native_text.h"

#include <cstdio>

namespace {

class QuietHooks : public ConversionHooks {
public:
    void step() override {}
    void yieldOnce() override {}
    bool isCancelled() override { return false; }
};

std::string decimal(const char* form, double value)
{
    char text[32];
    std::snprintf(text, sizeof text, form, value);
    return text;
}

void addSuggestion(const LoopSuggestion& suggestion, std::vector<std::string>& values)
{
    values.insert(values.end(), {std::to_string(suggestion.loop_start), std::to_string(suggestion.loop_size),
                                 std::to_string(suggestion.startFrame), std::to_string(suggestion.lengthFrames),
                                 decimal("%+.1f", suggestion.startShiftMs), decimal("%+.1f", suggestion.endShiftMs)});
}

Finding musicFinding(const LoopJudgement& loop)
{
    Finding finding{FindingLevel::Warning, "loop-seam", FindingText::LoopMusic,
                    {decimal("%.2f", loop.difference), decimal("%.2f", repeatThreshold)}};
    if (!loop.suggestion) {
        finding.values.push_back(decimal("%.0f", lengthReachSeconds * 1000));
        return finding;
    }
    finding.text = FindingText::LoopMusicSuggested;
    addSuggestion(*loop.suggestion, finding.values);
    return finding;
}

Finding waveformFinding(const LoopJudgement& loop)
{
    Finding finding{FindingLevel::Warning, "loop-seam",
                    loop.dataEndsAtLoopEnd ? FindingText::LoopSeamDataEnds : FindingText::LoopSeam,
                    {decimal("%.1f", loop.seam.measure), decimal("%.1f", seamClickThreshold)}};
    if (!loop.suggestion) {
        finding.values.push_back(std::to_string(seamSearchMilliseconds));
        return finding;
    }
    finding.text = loop.dataEndsAtLoopEnd ? FindingText::LoopSeamDataEndsSmoother : FindingText::LoopSeamSmoother;
    addSuggestion(*loop.suggestion, finding.values);
    finding.values.push_back(decimal("%.1f", loop.suggestion->measure.value_or(0)));
    return finding;
}

} // namespace

DataRead readPieceData(const MusicEntry& entry, const std::string& bgmFolder, WaveBuffer& buffer)
{
    FileHandle source;
    if (!source.openRead(joinPath(bgmFolder, utf8Text(entry.wave_file))))
        return DataRead::Missing;
    QuietHooks hooks;
    return readSourceRange(source, entry, buffer, hooks) == PieceOutcome::Completed ? DataRead::Read : DataRead::Short;
}

PieceDataCheck checkPieceData(const MusicEntry& entry, const std::string& bgmFolder, WaveBuffer& buffer)
{
    PieceDataCheck check;
    const DataRead read = readPieceData(entry, bgmFolder, buffer);
    if (read == DataRead::Missing) {
        check.findings.push_back({FindingLevel::Error, "bgm-missing", FindingText::BgmMissing, {entry.wave_file}});
        return check;
    }
    if (read == DataRead::Short) {
        check.findings.push_back(
            {FindingLevel::Error, "bgm-short", FindingText::BgmShort,
             {entry.wave_file, std::to_string(static_cast<std::uint64_t>(entry.wave_start) + entry.wave_size)}});
        return check;
    }
    if (!loopLiesInData(entry))
        return check;
    check.loop = judgeLoop(buffer.data(), entry);
    if (check.loop.flagged)
        check.findings.push_back(check.loop.judgedBy == JudgedBy::Music ? musicFinding(check.loop)
                                                                        : waveformFinding(check.loop));
    return check;
}
