#include "platform/file_handle.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int toDescriptor(std::intptr_t value) { return static_cast<int>(value); }

// One read or write call moves at most this much on Linux; larger requests come back short.
constexpr std::uint32_t largestCall = 0x40000000;

} // namespace

FileHandle::~FileHandle() { close(); }

bool FileHandle::openRead(const std::string& path)
{
    if (!close())
        return false;
    // Opened without waiting, so that a named pipe with no writer cannot hold the run; only a
    // regular file is kept, and it is then read in the ordinary blocking way.
    int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor >= 0) {
        struct stat info;
        int flags = fcntl(descriptor, F_GETFL);
        if (fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode) || flags < 0 ||
            fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0) {
            ::close(descriptor);
            descriptor = -1;
        }
    }
    handle_ = descriptor;
    return isOpen();
}

bool FileHandle::createWrite(const std::string& path)
{
    if (!close())
        return false;
    handle_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    return isOpen();
}

bool FileHandle::openStandardOutput()
{
    if (!close())
        return false;
    handle_ = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0);
    return isOpen();
}

std::uint32_t FileHandle::readAt(std::uint64_t offset, std::uint32_t length, std::uint8_t* destination)
{
    if (!isOpen())
        return 0;
    // Positioned reads move the file position, so that a following read continues there.
    if (offset != currentPosition &&
        ::lseek(toDescriptor(handle_), static_cast<off_t>(offset), SEEK_SET) != static_cast<off_t>(offset))
        return 0;
    std::uint32_t total = 0;
    while (total < length) {
        std::uint32_t want = length - total < largestCall ? length - total : largestCall;
        ssize_t got = ::read(toDescriptor(handle_), destination + total, want);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        total += static_cast<std::uint32_t>(got);
    }
    return total;
}

std::uint32_t FileHandle::write(const std::uint8_t* source, std::uint32_t length)
{
    if (!isOpen())
        return 0;
    std::uint32_t total = 0;
    while (total < length) {
        std::uint32_t want = length - total < largestCall ? length - total : largestCall;
        ssize_t put = ::write(toDescriptor(handle_), source + total, want);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            // Only when SIGPIPE is ignored; otherwise the process has ended before this.
            readerGone_ = put < 0 && errno == EPIPE;
            break;
        }
        total += static_cast<std::uint32_t>(put);
    }
    return total;
}

bool FileHandle::position(std::uint64_t& offset)
{
    off_t at = isOpen() ? ::lseek(toDescriptor(handle_), 0, SEEK_CUR) : -1;
    offset = static_cast<std::uint64_t>(at);
    return at >= 0;
}

bool FileHandle::seek(std::uint64_t offset)
{
    return isOpen() && ::lseek(toDescriptor(handle_), static_cast<off_t>(offset), SEEK_SET) == static_cast<off_t>(offset);
}

bool FileHandle::flush() { return isOpen() && ::fsync(toDescriptor(handle_)) == 0; }

bool FileHandle::close()
{
    if (!isOpen())
        return true;
    // Linux releases the descriptor even when close reports an error; keeping it would leak
    // a number that may already belong to another file.
    int result = ::close(toDescriptor(handle_));
    handle_ = invalidHandle;
    return result == 0;
}

bool pathExists(const std::string& path)
{
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0;
}

bool deleteFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool isReadOnlyFile(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & 0222) == 0;
}

bool replaceFile(const std::string& from, const std::string& to) { return ::rename(from.c_str(), to.c_str()) == 0; }

bool fileSize(const std::string& path, std::uint64_t& bytes)
{
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    bytes = static_cast<std::uint64_t>(info.st_size);
    return true;
}
