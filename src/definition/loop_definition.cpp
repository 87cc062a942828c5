#include "definition/loop_definition.h"

#include "platform/profile_source.h"
#include "platform/shift_jis.h"

#include <cstdio>

std::string musicSectionName(std::uint32_t n)
{
    char name[32];
    std::snprintf(name, sizeof name, "music%04u", static_cast<unsigned>(n));
    return name;
}

namespace {

MusicEntry readEntry(ProfileSource& profile, const char* section, std::string file)
{
    MusicEntry entry;
    entry.file = std::move(file);
    entry.title = cutShiftJis(profile.readText(section, "title"), MusicEntry::titleBytes);
    entry.fmt_channels = static_cast<std::uint16_t>(profile.readInteger(section, "fmt_channels", MusicEntry::defaultChannels));
    entry.fmt_samples = profile.readInteger(section, "fmt_samples", MusicEntry::defaultSamples);
    entry.fmt_bits = static_cast<std::uint16_t>(profile.readInteger(section, "fmt_bits", MusicEntry::defaultBits));
    entry.wave_file = cutShiftJis(profile.readText(section, "wave_file"), MusicEntry::fileNameBytes);
    entry.wave_start = profile.readInteger(section, "wave_start", 0);
    entry.wave_size = profile.readInteger(section, "wave_size", 0);
    entry.loop_start = profile.readInteger(section, "loop_start", 0);
    entry.loop_size = profile.readInteger(section, "loop_size", 0);
    entry.fileLost = profile.textLost(section, "file");
    entry.titleLost = profile.textLost(section, "title");
    entry.waveFileLost = profile.textLost(section, "wave_file");
    return entry;
}

} // namespace

bool LoopDefinition::load(const std::string& path, ProfileRefusal* refusal)
{
    entries_.clear();
    std::unique_ptr<ProfileSource> profile = openProfile(path, refusal);
    if (!profile)
        return false;
    std::string album = cutShiftJis(profile->readText("album", "title"), MusicEntry::titleBytes);
    if (album.empty())
        return false;
    albumTitle_ = album;
    albumTitleLost_ = profile->textLost("album", "title");
    for (std::uint32_t n = 0;; ++n) {
        std::string section = musicSectionName(n);
        std::string file = cutShiftJis(profile->readText(section.c_str(), "file"), MusicEntry::fileNameBytes);
        if (file.empty())
            return true;
        entries_.push_back(readEntry(*profile, section.c_str(), std::move(file)));
    }
}
