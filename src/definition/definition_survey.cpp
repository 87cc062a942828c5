#include "definition/definition_survey.h"

#include "platform/file_handle.h"
#include "platform/profile_source.h"
#include "platform/shift_jis.h"

#include <set>

namespace {

// The sections a list names before it says "..." instead.
constexpr std::size_t namedSections = 8;

// The length of the UTF-8 character that starts at bytes[at], 0 when none does.
std::size_t utf8Length(const std::string& bytes, std::size_t at)
{
    const unsigned char lead = static_cast<unsigned char>(bytes[at]);
    if (lead < 0x80)
        return 1;
    // Lead bytes, with the range allowed for the second byte: no overlong forms, no surrogates,
    // nothing past U+10FFFF.
    struct Form { unsigned char first, last, length, low, high; };
    static constexpr Form forms[] = {{0xC2, 0xDF, 2, 0x80, 0xBF}, {0xE0, 0xE0, 3, 0xA0, 0xBF}, {0xE1, 0xEC, 3, 0x80, 0xBF},
                                     {0xED, 0xED, 3, 0x80, 0x9F}, {0xEE, 0xEF, 3, 0x80, 0xBF}, {0xF0, 0xF0, 4, 0x90, 0xBF},
                                     {0xF1, 0xF3, 4, 0x80, 0xBF}, {0xF4, 0xF4, 4, 0x80, 0x8F}};
    for (const Form& form : forms) {
        if (lead < form.first || lead > form.last)
            continue;
        if (at + form.length > bytes.size())
            return 0;
        for (std::size_t i = 1; i < form.length; ++i) {
            const unsigned char byte = static_cast<unsigned char>(bytes[at + i]);
            if (byte < (i == 1 ? form.low : 0x80) || byte > (i == 1 ? form.high : 0xBF))
                return 0;
        }
        return form.length;
    }
    return 0;
}

std::string fileBytes(const std::string& path)
{
    FileHandle file;
    std::string bytes;
    if (!file.openRead(path))
        return bytes;
    std::uint8_t chunk[65536];
    while (bytes.size() <= largestProfileBytes) {
        std::uint32_t got = file.readAt(FileHandle::currentPosition, sizeof chunk, chunk);
        if (got == 0)
            break;
        bytes.append(reinterpret_cast<const char*>(chunk), got);
    }
    return bytes;
}

// The section's number when its name is "music" and digits, in any case; -1 otherwise.
long long musicNumber(const std::string& foldedName)
{
    const std::string digits = foldedName.substr(0, 5) == "MUSIC" ? foldedName.substr(5) : std::string();
    if (digits.empty() || digits.size() > 12 || digits.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    return std::stoll(digits);
}

// The music sections that reading never reaches: past the first number without a file, and
// those whose name is not one that numbering makes ("music10" for "music0010").
void unreadSections(ProfileSource& profile, std::size_t entries, Findings& findings)
{
    const std::string stop = musicSectionName(static_cast<std::uint32_t>(entries));
    bool stopExists = false;
    std::set<std::string> seen;
    std::vector<std::string> unread;
    for (const std::string& name : profile.sectionNames()) {
        const std::string folded = foldShiftJisAsciiCase(name);
        const long long number = musicNumber(folded);
        if (!seen.insert(folded).second || number < 0)
            continue;
        stopExists = stopExists || folded == foldShiftJisAsciiCase(stop);
        const bool read = static_cast<unsigned long long>(number) < entries &&
                          folded == foldShiftJisAsciiCase(musicSectionName(static_cast<std::uint32_t>(number)));
        if (!read)
            unread.push_back(name);
    }
    if (unread.empty())
        return;
    std::string list;
    for (std::size_t i = 0; i < unread.size() && i < namedSections; ++i)
        list += (i == 0 ? "[" : ", [") + unread[i] + "]";
    if (unread.size() > namedSections)
        list += ", ...";
    findings.push_back({FindingLevel::Warning, "unread-sections",
                        stopExists ? FindingText::UnreadAfterNoFile : FindingText::UnreadAfterGap,
                        {std::to_string(unread.size()), list, stop}});
}

Findings formatNotes(ProfileSource& profile, std::size_t index)
{
    const std::string section = musicSectionName(static_cast<std::uint32_t>(index));
    // The defaults loading takes for a key that is missing or empty.
    const struct { const char* code; const char* key; const char* value; } defaults[] = {
        {"default-channels", "fmt_channels", "2"}, {"default-rate", "fmt_samples", "44100"}, {"default-bits", "fmt_bits", "16"}};
    Findings notes;
    for (const auto& taken : defaults) {
        if (profile.readText(section.c_str(), taken.key).empty())
            notes.push_back({FindingLevel::Note, taken.code, FindingText::FormatDefault, {taken.key, taken.value}});
    }
    return notes;
}

} // namespace

bool isMultiByteUtf8(const std::string& bytes)
{
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        return false;
    bool multiByte = false;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = utf8Length(bytes, at);
        if (length == 0)
            return false;
        multiByte = multiByte || length > 1;
        at += length;
    }
    return multiByte;
}

DefinitionSurvey surveyDefinition(const std::string& path, const LoopDefinition& definition)
{
    DefinitionSurvey survey;
    survey.notes.resize(definition.entries().size());
    std::unique_ptr<ProfileSource> profile = openProfile(path);
    if (!profile)
        return survey;
    if (isMultiByteUtf8(fileBytes(path)))
        survey.file.push_back({FindingLevel::Warning, "saved-as-utf8", FindingText::SavedAsUtf8, {}});
    unreadSections(*profile, definition.entries().size(), survey.file);
    for (std::size_t i = 0; i < survey.notes.size(); ++i)
        survey.notes[i] = formatNotes(*profile, i);
    return survey;
}
