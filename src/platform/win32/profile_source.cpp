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

private:
    std::string path_;
};

} // namespace

std::unique_ptr<ProfileSource> openProfile(const std::string& path)
{
    char absolute[MAX_PATH];
    DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, absolute, nullptr);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    return std::make_unique<SystemProfile>(absolute);
}
