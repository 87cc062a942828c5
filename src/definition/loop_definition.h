#pragma once
// A loaded loop definition file: the album title and its pieces in section-number order.
#include "definition/music_entry.h"
#include "platform/profile_source.h"

#include <string>
#include <vector>

class LoopDefinition {
public:
    // Reads the file at path (absolute or relative to the current folder). False when the
    // profile cannot be opened (the reason goes to refusal when it is given) or section [album]
    // has no non-empty title; the entries are then gone and the album title is the one of the
    // last accepted file.
    bool load(const std::string& path, ProfileRefusal* refusal = nullptr);

    const std::string& albumTitle() const { return albumTitle_; }
    // Whether the album title held characters Shift-JIS lacks (each reads as '?').
    bool albumTitleLost() const { return albumTitleLost_; }
    const std::vector<MusicEntry>& entries() const { return entries_; }

private:
    std::string albumTitle_;
    bool albumTitleLost_ = false;
    std::vector<MusicEntry> entries_;
};

// The name of the section of entry number n: "music0000", "music0001", … "music10000".
std::string musicSectionName(std::uint32_t n);
