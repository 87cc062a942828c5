#include "platform/profile_source.h"

#include "platform/posix/ini_document.h"

#include <algorithm>
#include <climits>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {

// The file is parsed once when it is opened; every key is then answered from that reading.
class PortableProfile : public ProfileSource {
public:
    explicit PortableProfile(const std::string& bytes) : document_(bytes) {}

    std::string readText(const char* section, const char* key) override
    {
        const std::string* value = document_.find(section, key);
        if (!value)
            return std::string();
        // The system's reading hands values back as C strings: a NUL byte ends them.
        std::string text = unquoteProfileValue(*value);
        return text.substr(0, std::min(text.find('\0'), maxTextBytes));
    }

    std::uint32_t readInteger(const char* section, const char* key, std::uint32_t defaultValue) override
    {
        std::string text = readText(section, key);
        return text.empty() ? defaultValue : parseProfileInteger(text);
    }

private:
    IniDocument document_;
};

std::string absolutePath(const std::string& path)
{
    if (!path.empty() && path[0] == '/')
        return path;
    char folder[PATH_MAX];
    if (!getcwd(folder, sizeof folder))
        return std::string();
    return std::string(folder) + '/' + path;
}

} // namespace

std::unique_ptr<ProfileSource> openProfile(const std::string& path)
{
    std::string absolute = absolutePath(path);
    if (absolute.empty() || absolute.size() >= PATH_MAX)
        return nullptr;
    std::ifstream file(absolute, std::ios::binary);
    std::string bytes;
    if (file)
        bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return std::make_unique<PortableProfile>(bytes);
}
