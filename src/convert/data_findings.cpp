#include "convert/data_findings.h"

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

std::string seamMessage(const LoopSeam& seam)
{
    std::string message = "the loop's seam jumps, an audible click: measure " + measureText(seam.measure) +
                          " (smooth is about 1, above " + measureText(seamClickThreshold) + " is flagged); ";
    if (!seam.suggested)
        return message + "no smoother loop end within " + std::to_string(seamSearchMilliseconds) + " ms";
    return message + "smoother: loop_start=" + std::to_string(seam.loop_start) +
           " loop_size=" + std::to_string(seam.loop_size) + " (measure " + measureText(seam.suggestedMeasure) + ")";
}

} // namespace

PieceDataCheck checkPieceData(const MusicEntry& entry, const std::string& bgmFolder, WaveBuffer& buffer)
{
    PieceDataCheck check;
    FileHandle source;
    if (!source.openRead(joinPath(bgmFolder, nativeText(entry.wave_file)))) {
        check.findings.push_back(
            {FindingLevel::Error, "bgm-missing", "the BGM file '" + entry.wave_file + "' cannot be opened"});
        return check;
    }
    QuietHooks hooks;
    if (readSourceRange(source, entry, buffer, hooks) != PieceOutcome::Completed) {
        check.findings.push_back({FindingLevel::Error, "bgm-short",
                                  "the BGM file '" + entry.wave_file + "' ends before the piece's data does (at byte " +
                                      std::to_string(static_cast<std::uint64_t>(entry.wave_start) + entry.wave_size) +
                                      ", wave_start + wave_size)"});
        return check;
    }
    if (!loopLiesInData(entry))
        return check;
    check.seam = measureLoopSeam(buffer.data(), entry);
    if (check.seam.clicks)
        check.findings.push_back({FindingLevel::Warning, "loop-seam", seamMessage(check.seam)});
    return check;
}
