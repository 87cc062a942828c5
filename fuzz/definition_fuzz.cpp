// Arbitrary bytes as a loop definition file: the INI reader and LoopDefinition::load must never
// crash, and every text they keep must be a whole-character prefix of the value in the file,
// no longer than its field allows.
#include "definition/loop_definition.h"
#include "definition/shift_jis.h"
#include "fuzz_folder.h"
#include "platform/posix/ini_document.h"
#include "platform/profile_source.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

// Whether kept is the longest prefix of value that fits maxBytes and ends on a character
// boundary. A lead byte with nothing after it counts as a character of its own.
bool isWholeCharacterCut(const std::string& value, const std::string& kept, std::size_t maxBytes)
{
    if (kept.size() > maxBytes || value.compare(0, kept.size(), kept) != 0)
        return false;
    std::size_t i = 0;
    while (i < kept.size())
        i += isShiftJisLeadByte(static_cast<unsigned char>(value[i])) && i + 1 < value.size() ? 2 : 1;
    if (i != kept.size())
        return false;
    if (i == value.size())
        return true;
    std::size_t next = isShiftJisLeadByte(static_cast<unsigned char>(value[i])) && i + 1 < value.size() ? 2 : 1;
    return i + next > maxBytes;
}

std::string rawValue(const IniDocument& document, const std::string& section, const char* key)
{
    const std::string* value = document.find(section, key);
    if (!value)
        return std::string();
    // As the system hands values back: a C string, so a NUL byte ends it.
    const std::string text = unquoteProfileValue(*value);
    return text.substr(0, std::min(text.find('\0'), ProfileSource::maxTextBytes));
}

void checkIntegers(const std::string& bytes)
{
    std::string text = bytes.substr(0, 40);
    parseProfileInteger(text);
    if (!text.empty() && text.size() <= 19 && text.find_first_not_of("0123456789") == std::string::npos) {
        auto expected = static_cast<std::uint32_t>(std::strtoull(text.c_str(), nullptr, 10));
        require(parseProfileInteger(text) == expected, "a plain decimal reads modulo 2^32");
    }
}

void checkDefinition(const IniDocument& document, const LoopDefinition& definition, bool accepted)
{
    if (!accepted) {
        require(definition.entries().empty(), "a refused file leaves no entries");
        require(definition.albumTitle() == "Earlier", "a refused file keeps the earlier album title");
        return;
    }
    const std::string album = rawValue(document, "album", "title");
    require(!definition.albumTitle().empty(), "an accepted file has an album title");
    require(isWholeCharacterCut(album, definition.albumTitle(), MusicEntry::titleBytes), "album title cut");
    const auto& entries = definition.entries();
    for (std::size_t n = 0; n < entries.size(); ++n) {
        const std::string section = musicSectionName(static_cast<std::uint32_t>(n));
        const MusicEntry& entry = entries[n];
        require(!entry.file.empty(), "every entry has a file name");
        require(isWholeCharacterCut(rawValue(document, section, "file"), entry.file, MusicEntry::fileNameBytes),
                "file cut");
        require(isWholeCharacterCut(rawValue(document, section, "wave_file"), entry.wave_file,
                                    MusicEntry::fileNameBytes),
                "wave_file cut");
        require(isWholeCharacterCut(rawValue(document, section, "title"), entry.title, MusicEntry::titleBytes),
                "title cut");
    }
    const std::string after = musicSectionName(static_cast<std::uint32_t>(entries.size()));
    require(cutShiftJis(rawValue(document, after, "file"), MusicEntry::fileNameBytes).empty(),
            "the list ends at the first section without a file");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static FuzzFolder folder;
    static const std::string earlier = folder.file("earlier.mrl");
    static const std::string path = folder.file("fuzzed.mrl");
    static const bool earlierWritten = writeBytes(earlier, "[album]\ntitle=Earlier\n");
    require(earlierWritten, "scratch file written");

    const std::string bytes(reinterpret_cast<const char*>(data), size);
    checkIntegers(bytes);
    IniDocument document(bytes);
    require(document.find("ALBUM", "Title") == document.find("album", "title"), "names ignore case");

    LoopDefinition definition;
    require(definition.load(earlier), "the earlier file is accepted");
    require(writeBytes(path, bytes), "scratch file written");
    bool accepted = definition.load(path);
    checkDefinition(document, definition, accepted);
    return 0;
}
