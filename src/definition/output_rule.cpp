#include "definition/output_rule.h"

#include "definition/file_name.h"
#include "definition/split_rule.h"

namespace {

// The fade length at perSecond bytes a second: the file's rate or the figures' own.
std::uint64_t fadeLengthAt(const MusicEntry& entry, FadeRequest fade, std::uint32_t perSecond)
{
    const std::uint64_t wanted = static_cast<std::uint64_t>(fade.seconds) * perSecond;
    if (fade.full)
        return entry.loop_size == 0 ? 0 : wanted;
    return wanted < entry.loop_size ? wanted : entry.loop_size;
}

const char* extensionOf(OutputFormat format)
{
    switch (format) {
    case OutputFormat::Flac:
        return ".flac";
    case OutputFormat::OggVorbis:
        return ".ogg";
    case OutputFormat::Wave:
        break;
    }
    return ".wav";
}

} // namespace

std::uint16_t blockAlign(const MusicEntry& entry)
{
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(entry.fmt_bits) * entry.fmt_channels / 8);
}

std::uint32_t bytesPerSecond(const MusicEntry& entry)
{
    return static_cast<std::uint32_t>(blockAlign(entry)) * entry.fmt_samples;
}

std::uint32_t fadeLength(const MusicEntry& entry, FadeRequest fade)
{
    return static_cast<std::uint32_t>(fadeLengthAt(entry, fade, bytesPerSecond(entry)));
}

std::uint32_t dataLength(const MusicEntry& entry, const OutputOptions& options)
{
    return entry.loop_start + options.loopCount * entry.loop_size + fadeLength(entry, options.fade());
}

std::uint64_t exactFileSize(const MusicEntry& entry, const OutputOptions& options, std::uint32_t perSecond)
{
    return static_cast<std::uint64_t>(entry.loop_start) + static_cast<std::uint64_t>(options.loopCount) * entry.loop_size +
           fadeLengthAt(entry, options.fade(), perSecond) + waveHeaderSize;
}

bool loopLiesInData(const MusicEntry& entry)
{
    return static_cast<std::uint64_t>(entry.loop_start) + entry.loop_size <= entry.wave_size;
}

bool fitsWaveHeader(const MusicEntry& entry, const OutputOptions& options, std::uint32_t trailingBytes)
{
    return exactFileSize(entry, options, bytesPerSecond(entry)) + trailingBytes <= UINT32_MAX;
}

LoopFrames loopFrames(const MusicEntry& entry)
{
    LoopFrames frames;
    const std::uint32_t frameBytes = blockAlign(entry);
    if (frameBytes == 0)
        return frames;
    // Rounded up: a frame that starts before loop_start holds introduction too.
    frames.start = static_cast<std::uint32_t>((static_cast<std::uint64_t>(entry.loop_start) + frameBytes - 1) / frameBytes);
    frames.end = frames.start + entry.loop_size / frameBytes;
    return frames;
}

LoopFrames writtenLoop(const MusicEntry& entry, const OutputOptions& options)
{
    if (!options.choices.loopPoints || options.loopCount == 0)
        return {};
    return loopFrames(entry);
}

std::string outputName(const MusicEntry& entry, std::uint32_t track, const OutputOptions& options, const char* mark)
{
    if (options.names == OutputNames::Titles)
        return titleFileName(track, entry.title, mark + std::string(extensionOf(options.format)));
    const std::string name = splitName(entry.file, mark);
    if (options.format == OutputFormat::Wave)
        return name;
    return replaceExtension(name, extensionOf(options.format));
}
