#include "platform/profile_source.h"

#include "platform/posix/ini_document.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
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

    std::vector<std::string> sectionNames() override { return document_.sectionNames(); }

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

// Owns a descriptor for the time the file is read.
class Descriptor {
public:
    explicit Descriptor(int value) : value_(value) {}
    ~Descriptor()
    {
        if (value_ >= 0)
            ::close(value_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int value() const { return value_; }

private:
    int value_;
};

// The whole file into bytes, or the reason it is no profile to read. A file that does not exist
// reads as empty, as the system's profile functions take it.
ProfileRefusal readProfileFile(const std::string& path, std::string& bytes)
{
    // Without O_NONBLOCK, opening a named pipe that has no writer would wait for one.
    Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.value() < 0)
        return errno == ENOENT ? ProfileRefusal::None : ProfileRefusal::Unreadable;
    struct stat info;
    if (fstat(file.value(), &info) != 0)
        return ProfileRefusal::Unreadable;
    if (S_ISDIR(info.st_mode))
        return ProfileRefusal::Folder;
    if (!S_ISREG(info.st_mode))
        return ProfileRefusal::NotRegularFile;
    if (static_cast<std::uint64_t>(info.st_size) > largestProfileBytes)
        return ProfileRefusal::TooLarge;
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    // The size is checked again while reading: a file may grow, and some report no size at all.
    char chunk[65536];
    for (;;) {
        ssize_t got = ::read(file.value(), chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return ProfileRefusal::Unreadable;
        if (got == 0)
            return ProfileRefusal::None;
        if (bytes.size() + static_cast<std::size_t>(got) > largestProfileBytes)
            return ProfileRefusal::TooLarge;
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
}

} // namespace

std::unique_ptr<ProfileSource> openProfile(const std::string& path, ProfileRefusal* refusal)
{
    ProfileRefusal reason = ProfileRefusal::PathTooLong;
    std::string absolute = absolutePath(path);
    std::string bytes;
    if (!absolute.empty() && absolute.size() < PATH_MAX)
        reason = readProfileFile(absolute, bytes);
    if (refusal)
        *refusal = reason;
    return reason == ProfileRefusal::None ? std::make_unique<PortableProfile>(bytes) : nullptr;
}
