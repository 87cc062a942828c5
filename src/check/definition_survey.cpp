#include "check/definition_survey.h"

#include "platform/profile_source.h"
#include "platform/shift_jis.h"

#include <set>

namespace {

// The sections a list names before it says "..." instead.
constexpr std::size_t namedSections = 8;

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
    const struct { const char* code; const char* key; std::uint32_t value; } defaults[] = {
        {"default-channels", "fmt_channels", MusicEntry::defaultChannels},
        {"default-rate", "fmt_samples", MusicEntry::defaultSamples},
        {"default-bits", "fmt_bits", MusicEntry::defaultBits}};
    Findings notes;
    for (const auto& taken : defaults) {
        if (profile.readText(section.c_str(), taken.key).empty())
            notes.push_back({FindingLevel::Note, taken.code, FindingText::FormatDefault,
                             {taken.key, std::to_string(taken.value)}});
    }
    return notes;
}

} // namespace

DefinitionSurvey surveyDefinition(const std::string& path, const LoopDefinition& definition)
{
    DefinitionSurvey survey;
    survey.notes.resize(definition.entries().size());
    std::unique_ptr<ProfileSource> profile = openProfile(path);
    if (!profile)
        return survey;
    if (definition.albumTitleLost())
        survey.file.push_back(
            {FindingLevel::Warning, "text-not-shift-jis", FindingText::TextLost, {"[album] title", definition.albumTitle()}});
    unreadSections(*profile, definition.entries().size(), survey.file);
    if (profile->encoding() == ProfileEncoding::Utf8)
        survey.file.push_back({FindingLevel::Note, "saved-as-utf8", FindingText::SavedAsUtf8, {}});
    for (std::size_t i = 0; i < survey.notes.size(); ++i)
        survey.notes[i] = formatNotes(*profile, i);
    return survey;
}
