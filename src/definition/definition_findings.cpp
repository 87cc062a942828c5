#include "definition/definition_findings.h"

#include "definition/figures.h"
#include "definition/file_name.h"
#include "definition/output_rule.h"
#include "platform/shift_jis.h"

#include <string>
#include <utility>

const char* levelText(FindingLevel level) { return level == FindingLevel::Error ? "error" : "warning"; }

namespace {

using std::to_string;

// A text that fills its byte limit, or leaves room for a single byte only behind a two-byte
// character: the reader cut it there, most likely.
bool fillsLimit(const std::string& text, std::size_t limit)
{
    if (text.size() >= limit)
        return true;
    // Cutting one byte off drops two when the last character is a two-byte one.
    return text.size() + 1 == limit && cutShiftJis(text, text.size() - 1).size() + 2 == text.size();
}

bool endsWithWav(const std::string& name)
{
    std::string folded = foldShiftJisAsciiCase(name);
    return folded.size() > 4 && folded.compare(folded.size() - 4, 4, ".WAV") == 0;
}

// Absolute (a leading \ or /), with a drive ("C:") or with ".." parts.
bool leadsOutside(const std::string& name)
{
    if (name.find(':') != std::string::npos) // never the second byte of a character
        return true;
    std::size_t partStart = 0;
    std::size_t i = 0;
    while (i <= name.size()) {
        bool end = i == name.size();
        bool separator = !end && (name[i] == '\\' || name[i] == '/');
        if (!end && !separator) {
            i += isShiftJisLeadByte(static_cast<unsigned char>(name[i])) && i + 1 < name.size() ? 2 : 1;
            continue;
        }
        if ((separator && i == 0) || name.compare(partStart, i - partStart, "..") == 0)
            return true;
        partStart = ++i;
    }
    return false;
}

void add(Findings& findings, FindingLevel level, const char* code, std::string message)
{
    findings.push_back(Finding{level, code, std::move(message)});
}

void errors(Findings& findings, const MusicEntry& entry, std::uint32_t loopCount, FadeRequest fade)
{
    if (!isPlainFileName(entry.file))
        add(findings, FindingLevel::Error, "name-not-plain",
            "the output name '" + entry.file + "' is not a plain file name: it would leave the output folder");
    if (!loopLiesInData(entry))
        add(findings, FindingLevel::Error, "loop-past-data",
            "the loop ends at byte " + to_string(static_cast<std::uint64_t>(entry.loop_start) + entry.loop_size) +
                " (loop_start + loop_size) but the piece's data has only " + to_string(entry.wave_size) +
                " bytes (wave_size)");
    if (!fitsWaveHeader(entry, loopCount, fade))
        add(findings, FindingLevel::Error, "too-large",
            "with " + to_string(loopCount) + " loops and " + to_string(fade.seconds) + " s of fade the file would have " +
                formatSize(exactFileSize(entry, loopCount, fade, bytesPerSecond(entry))) +
                " bytes; a WAVE file holds at most 4,294,967,295");
}

void nameWarnings(Findings& findings, const LoopDefinition& definition, std::size_t index)
{
    const MusicEntry& entry = definition.entries()[index];
    const std::string folded = foldShiftJisAsciiCase(entry.file);
    for (std::size_t other = 0; other < index; ++other) {
        const MusicEntry& earlier = definition.entries()[other];
        if (foldShiftJisAsciiCase(earlier.file) != folded)
            continue;
        add(findings, FindingLevel::Warning, "same-output",
            "writes the same file as piece " + to_string(other) + " ('" + earlier.file +
                "'): converting both, this one asks to replace that one's file");
        break;
    }
    if (fillsLimit(entry.file, MusicEntry::fileNameBytes))
        add(findings, FindingLevel::Warning, "name-cut",
            "the output name '" + entry.file + "' fills the 15 bytes a name may have: it was probably cut");
    if (!endsWithWav(entry.file))
        add(findings, FindingLevel::Warning, "no-wav-ending", "the output name '" + entry.file + "' has no .wav ending");
    if (fillsLimit(entry.title, MusicEntry::titleBytes))
        add(findings, FindingLevel::Warning, "title-cut",
            "the title fills the 255 bytes a title may have: it was probably cut");
    if (leadsOutside(entry.wave_file))
        add(findings, FindingLevel::Warning, "bgm-outside-folder",
            "the BGM file '" + entry.wave_file +
                "' is outside the BGM folder (absolute, with a drive or with ..); it is read all the same");
}

void formatWarnings(Findings& findings, const MusicEntry& entry)
{
    if (entry.fmt_channels == 0)
        add(findings, FindingLevel::Warning, "no-channels", "fmt_channels is 0");
    if (entry.fmt_bits != 8 && entry.fmt_bits != 16 && entry.fmt_bits != 24 && entry.fmt_bits != 32)
        add(findings, FindingLevel::Warning, "unusual-bits",
            "fmt_bits is " + to_string(entry.fmt_bits) + "; 8, 16, 24 or 32 is usual, and only those fade");
    if (entry.fmt_samples < 8000 || entry.fmt_samples > 192000)
        add(findings, FindingLevel::Warning, "unusual-rate",
            "fmt_samples is " + to_string(entry.fmt_samples) + "; 8000 to 192000 is usual");
    const std::uint32_t frame = blockAlign(entry);
    if (frame == 0)
        return;
    const std::pair<const char*, std::uint32_t> offsets[] = {{"wave_start", entry.wave_start},
                                                             {"wave_size", entry.wave_size},
                                                             {"loop_start", entry.loop_start},
                                                             {"loop_size", entry.loop_size}};
    for (const auto& [key, value] : offsets) {
        if (value % frame != 0)
            add(findings, FindingLevel::Warning, "unaligned",
                std::string(key) + " " + to_string(value) + " is not a multiple of the frame size (" +
                    to_string(frame) + " bytes): a loop that splits a frame plays noise");
    }
}

} // namespace

Findings definitionFindings(const LoopDefinition& definition, std::size_t index, std::uint32_t loopCount,
                            FadeRequest fade)
{
    Findings findings;
    const MusicEntry& entry = definition.entries()[index];
    errors(findings, entry, loopCount, fade);
    nameWarnings(findings, definition, index);
    formatWarnings(findings, entry);
    return findings;
}
