#include "loops/audio_file.h"

#include "platform/file_handle.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint16_t formatPcm = 1;
constexpr std::uint16_t formatExtensible = 0xFFFE;
// Larger files are not read whole.
constexpr std::uint64_t largestData = std::uint64_t{1} << 31;

std::uint32_t little(const std::uint8_t* p, int bytes)
{
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | p[i];
    return value;
}

bool readExactly(FileHandle& file, std::uint64_t offset, std::uint32_t length, std::uint8_t* destination)
{
    return length == 0 || file.readAt(offset, length, destination) == length;
}

enum class AudioKind { Other, Wave, Flac, Ogg };

AudioKind kindOf(FileHandle& file)
{
    std::uint8_t head[12] = {};
    if (!readExactly(file, 0, sizeof head, head))
        return AudioKind::Other;
    if (std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WAVE", 4) == 0)
        return AudioKind::Wave;
    if (std::memcmp(head, "fLaC", 4) == 0)
        return AudioKind::Flac;
    return std::memcmp(head, "OggS", 4) == 0 ? AudioKind::Ogg : AudioKind::Other;
}

AudioRefusal readWave(FileHandle& file, AudioData& audio);

} // namespace

bool looksLikeAudio(const std::string& path)
{
    FileHandle file;
    return file.openRead(path) && kindOf(file) != AudioKind::Other;
}

AudioRefusal readAudioFile(const std::string& path, AudioData& audio)
{
    FileHandle file;
    if (!file.openRead(path))
        return AudioRefusal::Unreadable;
    switch (kindOf(file)) {
    case AudioKind::Other:
        return AudioRefusal::NotAudio;
    case AudioKind::Flac:
        return decodeFlac(path, audio);
    case AudioKind::Ogg:
        return decodeOggVorbis(path, audio);
    case AudioKind::Wave:
        break;
    }
    return readWave(file, audio);
}

namespace {

AudioRefusal readWave(FileHandle& file, AudioData& audio)
{
    constexpr std::uint32_t headBytes = 12;
    bool formatSeen = false;
    // Chunks are padded to an even length.
    for (std::uint64_t at = headBytes;;) {
        std::uint8_t chunk[8];
        if (!readExactly(file, at, sizeof chunk, chunk))
            return AudioRefusal::NotAudio;
        const std::uint32_t size = little(chunk + 4, 4);
        const std::uint64_t body = at + sizeof chunk;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            std::uint8_t format[40] = {};
            if (size < 16 || !readExactly(file, body, size < sizeof format ? size : sizeof format, format))
                return AudioRefusal::NotAudio;
            std::uint16_t tag = static_cast<std::uint16_t>(little(format, 2));
            // The extensible form names its own format in the first two bytes of its GUID.
            if (tag == formatExtensible && size >= 40)
                tag = static_cast<std::uint16_t>(little(format + 24, 2));
            audio.channels = little(format + 2, 2);
            audio.rate = little(format + 4, 4);
            audio.bits = little(format + 14, 2);
            const bool bitsKnown = audio.bits == 8 || audio.bits == 16 || audio.bits == 24 || audio.bits == 32;
            if (tag != formatPcm || !bitsKnown || audio.channels == 0 || audio.rate == 0)
                return AudioRefusal::NotPcm;
            formatSeen = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!formatSeen)
                return AudioRefusal::NotAudio;
            if (size > largestData)
                return AudioRefusal::Unreadable;
            audio.bytes.resize(size);
            // A file cut short keeps what it holds.
            std::uint64_t length = 0;
            while (length < size) {
                const std::uint32_t got = file.readAt(body + length, static_cast<std::uint32_t>(
                                                                          std::min<std::uint64_t>(1 << 24, size - length)),
                                                      audio.bytes.data() + length);
                if (got == 0)
                    break;
                length += got;
            }
            audio.bytes.resize(length);
            return AudioRefusal::None;
        }
        at = body + size + (size & 1);
    }
}

} // namespace
