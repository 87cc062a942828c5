#include "platform/profile_source.h"

#include <windows.h>

#include <vector>

namespace {

// Every read goes to the file through the system, with the absolute path it needs
// (a bare name would be looked up in the Windows folder).
class SystemProfile : public ProfileSource {
public:
    explicit SystemProfile(std::string absolutePath) : path_(std::move(absolutePath)) {}

    std::string readText(const char* section, const char* key) override
    {
        // Zeroed, so a value cut inside a two-byte character ends before the half character.
        std::vector<char> buffer(maxTextBytes + 1, '\0');
        GetPrivateProfileStringA(section, key, "", buffer.data(), static_cast<DWORD>(buffer.size()), path_.c_str());
        buffer.back() = '\0';
        return std::string(buffer.data());
    }

    std::uint32_t readInteger(const char* section, const char* key, std::uint32_t defaultValue) override
    {
        return GetPrivateProfileIntA(section, key, static_cast<INT>(defaultValue), path_.c_str());
    }

    std::vector<std::string> sectionNames() override
    {
        // The names come back NUL-separated; a buffer too small is filled to its size - 2.
        std::vector<char> buffer(65536);
        DWORD length = 0;
        for (;;) {
            length = GetPrivateProfileSectionNamesA(buffer.data(), static_cast<DWORD>(buffer.size()), path_.c_str());
            if (length + 2 < buffer.size() || buffer.size() > largestProfileBytes)
                break;
            buffer.assign(buffer.size() * 4, '\0');
        }
        std::vector<std::string> names;
        for (std::size_t at = 0; at < length && buffer[at] != '\0'; at += names.back().size() + 1)
            names.emplace_back(buffer.data() + at);
        return names;
    }

private:
    std::string path_;
};

// The system's profile functions read whatever the path names; a folder, a file of no sensible
// size and a path the system gives no file attributes for (devices among them) are refused
// before they see it. A file that does not exist reads as empty.
ProfileRefusal refusalOf(const char* absolutePath)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(absolutePath, GetFileExInfoStandard, &data)) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ProfileRefusal::None
                                                                               : ProfileRefusal::Unreadable;
    }
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return ProfileRefusal::Folder;
    if ((std::uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow) > largestProfileBytes)
        return ProfileRefusal::TooLarge;
    return ProfileRefusal::None;
}

} // namespace

std::unique_ptr<ProfileSource> openProfile(const std::string& path, ProfileRefusal* refusal)
{
    char absolute[MAX_PATH];
    DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, absolute, nullptr);
    ProfileRefusal reason = length == 0 || length >= MAX_PATH ? ProfileRefusal::PathTooLong : refusalOf(absolute);
    if (refusal)
        *refusal = reason;
    return reason == ProfileRefusal::None ? std::make_unique<SystemProfile>(absolute) : nullptr;
}
