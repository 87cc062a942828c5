#include "check/data_findings.h"

#include "definition/output_rule.h"
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

std::string measureText(double measure)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", measure);
    return text;
}

Finding seamFinding(const LoopSeam& seam)
{
    Finding finding{FindingLevel::Warning, "loop-seam", FindingText::LoopSeam,
                    {measureText(seam.measure), measureText(seamClickThreshold)}};
    if (!seam.suggested) {
        finding.values.push_back(std::to_string(seamSearchMilliseconds));
        return finding;
    }
    finding.text = FindingText::LoopSeamSmoother;
    finding.values.insert(finding.values.end(), {std::to_string(seam.loop_start), std::to_string(seam.loop_size),
                                                 measureText(seam.suggestedMeasure)});
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
    check.seam = measureLoopSeam(buffer.data(), entry);
    if (check.seam.clicks)
        check.findings.push_back(seamFinding(check.seam));
    return check;
}
