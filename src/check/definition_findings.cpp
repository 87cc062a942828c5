#include "check/definition_findings.h"

#include "definition/figures.h"
#include "definition/file_name.h"
#include "definition/output_rule.h"
#include "platform/name_case.h"
#include "platform/shift_jis.h"

#include <string>
#include <tuple>
#include <utility>

const char* levelText(FindingLevel level)
{
    switch (level) {
    case FindingLevel::Error:
        return "error";
    case FindingLevel::Warning:
        break;
    case FindingLevel::Note:
        return "note";
    }
    return "warning";
}

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

bool endsWithWav(const std::string& folded)
{
    return folded.size() >= 4 && folded.compare(folded.size() - 4, 4, ".WAV") == 0;
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

void add(Findings& findings, FindingLevel level, const char* code, FindingText text, std::vector<std::string> values = {})
{
    findings.push_back(Finding{level, code, text, std::move(values)});
}

// Names made from the titles begin with their own track numbers and hold nothing a system refuses:
// the rules of names judge the file keys only when they name the files.
bool namedByFileKey(const OutputOptions& options) { return options.names == OutputNames::Definition; }

void errors(Findings& findings, const MusicEntry& entry, const OutputOptions& options)
{
    if (namedByFileKey(options) && entry.fileLost)
        add(findings, FindingLevel::Error, "name-not-shift-jis", FindingText::NameLost, {entry.file});
    else if (namedByFileKey(options) && !isPlainFileName(entry.file))
        add(findings, FindingLevel::Error, "name-not-plain", FindingText::NameNotPlain, {entry.file});
    if (!loopLiesInData(entry))
        add(findings, FindingLevel::Error, "loop-past-data", FindingText::LoopPastData,
            {to_string(static_cast<std::uint64_t>(entry.loop_start) + entry.loop_size), to_string(entry.wave_size)});
    if (!fitsWaveHeader(entry, options))
        add(findings, FindingLevel::Error, "too-large", FindingText::TooLarge,
            {to_string(options.loopCount), to_string(options.fadeSeconds),
             formatSize(exactFileSize(entry, options, bytesPerSecond(entry)))});
}

void fileKeyWarnings(Findings& findings, const LoopDefinition& definition, std::size_t index)
{
    const MusicEntry& entry = definition.entries()[index];
    const std::string folded = foldShiftJisAsciiCase(entry.file);
    for (std::size_t other = 0; other < index; ++other) {
        const MusicEntry& earlier = definition.entries()[other];
        if (foldShiftJisAsciiCase(earlier.file) != folded)
            continue;
        // Names that differ in letter case alone are one file only where the system ignores case.
        const bool oneFileHere = earlier.file == entry.file || namesIgnoreLetterCase();
        add(findings, FindingLevel::Warning, "same-output",
            oneFileHere ? FindingText::SameOutput : FindingText::SameOutputByCase, {to_string(other), earlier.file});
        break;
    }
    if (fillsLimit(entry.file, MusicEntry::fileNameBytes))
        add(findings, FindingLevel::Warning, "name-cut", FindingText::NameCut, {entry.file});
    if (!endsWithWav(folded))
        add(findings, FindingLevel::Warning, "no-wav-ending", FindingText::NoWavEnding, {entry.file});
    else if (folded.size() == 4)
        add(findings, FindingLevel::Warning, "nothing-before-wav", FindingText::NothingBeforeWav, {entry.file});
}

void nameWarnings(Findings& findings, const LoopDefinition& definition, std::size_t index, const OutputOptions& options)
{
    const MusicEntry& entry = definition.entries()[index];
    if (namedByFileKey(options))
        fileKeyWarnings(findings, definition, index);
    if (fillsLimit(entry.title, MusicEntry::titleBytes))
        add(findings, FindingLevel::Warning, "title-cut", FindingText::TitleCut);
    if (entry.titleLost)
        add(findings, FindingLevel::Warning, "text-not-shift-jis", FindingText::TextLost, {"title", entry.title});
    if (entry.waveFileLost)
        add(findings, FindingLevel::Warning, "text-not-shift-jis", FindingText::TextLost, {"wave_file", entry.wave_file});
    if (leadsOutside(entry.wave_file))
        add(findings, FindingLevel::Warning, "bgm-outside-folder", FindingText::BgmOutsideFolder, {entry.wave_file});
}

// Frames are counted from wave_start, which may be any byte of the BGM file (its own header and
// packing put the data where they like): only a loop boundary can split a frame, or a wave_size
// that ends the data inside the loop's last frame.
void splitFrames(Findings& findings, const MusicEntry& entry)
{
    const std::uint64_t frame = blockAlign(entry);
    if (frame == 0)
        return;
    const std::uint64_t loopEnd = static_cast<std::uint64_t>(entry.loop_start) + entry.loop_size;
    const bool cutsLastFrame = entry.loop_size != 0 && loopEnd <= entry.wave_size &&
                               (loopEnd + frame - 1) / frame * frame > entry.wave_size;
    const std::tuple<const char*, std::uint32_t, bool> offsets[] = {
        {"loop_start", entry.loop_start, entry.loop_start % frame != 0},
        {"loop_size", entry.loop_size, entry.loop_size % frame != 0},
        {"wave_size", entry.wave_size, cutsLastFrame}};
    for (const auto& [key, value, splits] : offsets) {
        if (splits)
            add(findings, FindingLevel::Warning, "unaligned", FindingText::Unaligned,
                {key, to_string(value), to_string(frame)});
    }
}

void formatWarnings(Findings& findings, const MusicEntry& entry)
{
    if (entry.fmt_channels == 0)
        add(findings, FindingLevel::Warning, "no-channels", FindingText::NoChannels);
    if (entry.fmt_bits != 8 && entry.fmt_bits != 16 && entry.fmt_bits != 24 && entry.fmt_bits != 32)
        add(findings, FindingLevel::Warning, "unusual-bits", FindingText::UnusualBits, {to_string(entry.fmt_bits)});
    if (entry.fmt_samples < 8000 || entry.fmt_samples > 192000)
        add(findings, FindingLevel::Warning, "unusual-rate", FindingText::UnusualRate, {to_string(entry.fmt_samples)});
    splitFrames(findings, entry);
}

} // namespace

Findings definitionFindings(const LoopDefinition& definition, std::size_t index, const OutputOptions& options)
{
    Findings findings;
    const MusicEntry& entry = definition.entries()[index];
    errors(findings, entry, pieceOptions(entry, options));
    nameWarnings(findings, definition, index, options);
    formatWarnings(findings, entry);
    return findings;
}
