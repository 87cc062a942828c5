#include "platform/profile_source.h"

#include "platform/ini_document.h"
#include "platform/profile_file.h"

#include <algorithm>

namespace {

// The file is parsed once when it is opened; every key is then answered from that reading.
class PortableProfile : public ProfileSource {
public:
    explicit PortableProfile(const std::string& bytes) : document_(bytes) {}

    std::string readText(const char* section, const char* key) override
    {
        const IniDocument::Value* value = document_.find(section, key);
        if (!value)
            return std::string();
        // The system's reading hands values back as C strings: a NUL byte ends them.
        std::string text = unquoteProfileValue(value->text);
        return text.substr(0, std::min(text.find('\0'), maxTextBytes));
    }

    std::uint32_t readInteger(const char* section, const char* key, std::uint32_t defaultValue) override
    {
        std::string text = readText(section, key);
        return text.empty() ? defaultValue : parseProfileInteger(text);
    }

    bool textLost(const char* section, const char* key) override
    {
        const IniDocument::Value* value = document_.find(section, key);
        return value && value->lost;
    }

    std::vector<std::string> sectionNames() override { return document_.sectionNames(); }
    ProfileEncoding encoding() override { return document_.encoding(); }

private:
    IniDocument document_;
};

} // namespace

std::unique_ptr<ProfileSource> openProfile(const std::string& path, ProfileRefusal* refusal)
{
    std::string bytes;
    const ProfileRefusal reason = readProfileFile(path, bytes);
    if (refusal)
        *refusal = reason;
    return reason == ProfileRefusal::None ? std::make_unique<PortableProfile>(bytes) : nullptr;
}
