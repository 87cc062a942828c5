#include "platform/profile_file.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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

ProfileRefusal readFile(const std::string& path, std::string& bytes)
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

ProfileRefusal readProfileFile(const std::string& path, std::string& bytes)
{
    const std::string absolute = absolutePath(path);
    if (absolute.empty() || absolute.size() >= PATH_MAX)
        return ProfileRefusal::PathTooLong;
    return readFile(absolute, bytes);
}
