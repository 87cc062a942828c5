// Arbitrary bytes as a loop definition file: the INI reader and LoopDefinition::load must never
// crash, and every text they keep must be a whole-character prefix of the value in the file,
// no longer than its field allows.
#include "definition/loop_definition.h"
#include "fuzz_folder.h"
#include "platform/ini_document.h"
#include "platform/profile_source.h"
#include "platform/shift_jis.h"

namespace {

// Whether kept is the longest prefix of value that fits maxBytes and ends on a character
// boundary. A lead byte with nothing after it counts as a character of its own.
bool isWholeCharacterCut(const std::string& value, const std::string& kept, std::size_t maxBytes)
{
    auto next = [&](std::size_t i) {
        return i + (isShiftJisLeadByte(static_cast<unsigned char>(value[i])) && i + 1 < value.size() ? 2 : 1);
    };
    if (kept.size() > maxBytes || value.compare(0, kept.size(), kept) != 0)
        return false;
    std::size_t i = 0;
    while (i < kept.size())
        i = next(i);
    return i == kept.size() && (i == value.size() || next(i) > maxBytes);
}

// A value as the system hands it back: unquoted, and a C string, so a NUL byte ends it.
std::string rawValue(const IniDocument& document, const std::string& section, const char* key)
{
    const IniDocument::Value* value = document.find(section, key);
    const std::string text = value ? unquoteProfileValue(value->text) : std::string();
    return text.substr(0, std::min(text.find('\0'), ProfileSource::maxTextBytes));
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
    IniDocument document(bytes);

    LoopDefinition definition;
    require(definition.load(earlier), "the earlier file is accepted");
    require(writeBytes(path, bytes), "scratch file written");
    if (!definition.load(path)) {
        require(definition.entries().empty() && definition.albumTitle() == "Earlier",
                "a refused file leaves no entries and the earlier album title");
        return 0;
    }
    require(!definition.albumTitle().empty(), "an accepted file has an album title");
    require(isWholeCharacterCut(rawValue(document, "album", "title"), definition.albumTitle(), MusicEntry::titleBytes),
            "album title cut");
    const auto& entries = definition.entries();
    for (std::size_t n = 0; n < entries.size(); ++n) {
        const std::string section = musicSectionName(static_cast<std::uint32_t>(n));
        const MusicEntry& entry = entries[n];
        require(!entry.file.empty(), "every entry has a file name");
        require(isWholeCharacterCut(rawValue(document, section, "file"), entry.file, MusicEntry::fileNameBytes) &&
                    isWholeCharacterCut(rawValue(document, section, "wave_file"), entry.wave_file,
                                        MusicEntry::fileNameBytes) &&
                    isWholeCharacterCut(rawValue(document, section, "title"), entry.title, MusicEntry::titleBytes),
                "texts cut to their fields");
    }
    const std::string after = musicSectionName(static_cast<std::uint32_t>(entries.size()));
    require(cutShiftJis(rawValue(document, after, "file"), MusicEntry::fileNameBytes).empty(),
            "the list ends at the first section without a file");
    return 0;
}
