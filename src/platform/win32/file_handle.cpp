#include "platform/file_handle.h"

#include "platform/win32/wide_text.h"

#include <windows.h>

namespace {

HANDLE toHandle(std::intptr_t value) { return reinterpret_cast<HANDLE>(value); }

} // namespace

FileHandle::~FileHandle() { close(); }

bool FileHandle::openRead(const std::string& path)
{
    if (!close())
        return false;
    HANDLE file = CreateFileW(wideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    // A device or a pipe opens too, but reading it may wait for ever or never end.
    if (file != INVALID_HANDLE_VALUE && GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        file = INVALID_HANDLE_VALUE;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
    return isOpen();
}

bool FileHandle::createWrite(const std::string& path)
{
    if (!close())
        return false;
    HANDLE file = CreateFileW(wideFromUtf8(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    handle_ = reinterpret_cast<std::intptr_t>(file);
    return isOpen();
}

bool FileHandle::openStandardOutput()
{
    if (!close())
        return false;
    // WriteFile on the system's handle bypasses the C library's text mode.
    HANDLE process = GetCurrentProcess();
    HANDLE copy = INVALID_HANDLE_VALUE;
    if (!DuplicateHandle(process, GetStdHandle(STD_OUTPUT_HANDLE), process, &copy, 0, FALSE, DUPLICATE_SAME_ACCESS))
        copy = INVALID_HANDLE_VALUE;
    handle_ = reinterpret_cast<std::intptr_t>(copy);
    return isOpen();
}

std::uint32_t FileHandle::readAt(std::uint64_t offset, std::uint32_t length, std::uint8_t* destination)
{
    if (!isOpen())
        return 0;
    if (offset != currentPosition) {
        LARGE_INTEGER distance;
        distance.QuadPart = static_cast<LONGLONG>(offset);
        LARGE_INTEGER reached;
        if (!SetFilePointerEx(toHandle(handle_), distance, &reached, FILE_BEGIN) ||
            static_cast<std::uint64_t>(reached.QuadPart) != offset)
            return 0;
    }
    std::uint32_t total = 0;
    while (total < length) {
        DWORD got = 0;
        if (!ReadFile(toHandle(handle_), destination + total, length - total, &got, nullptr) || got == 0)
            break;
        total += got;
    }
    return total;
}

std::uint32_t FileHandle::write(const std::uint8_t* source, std::uint32_t length)
{
    if (!isOpen())
        return 0;
    std::uint32_t total = 0;
    while (total < length) {
        DWORD put = 0;
        if (!WriteFile(toHandle(handle_), source + total, length - total, &put, nullptr) || put == 0) {
            DWORD error = GetLastError();
            // Windows says "the pipe is being closed", Wine "no process is on the other end".
            readerGone_ = error == ERROR_NO_DATA || error == ERROR_BROKEN_PIPE || error == ERROR_PIPE_NOT_CONNECTED;
            break;
        }
        total += put;
    }
    return total;
}

bool FileHandle::position(std::uint64_t& offset)
{
    LARGE_INTEGER none{};
    LARGE_INTEGER at{};
    bool known = isOpen() && GetFileType(toHandle(handle_)) == FILE_TYPE_DISK &&
                 SetFilePointerEx(toHandle(handle_), none, &at, FILE_CURRENT);
    offset = static_cast<std::uint64_t>(at.QuadPart);
    return known;
}

bool FileHandle::seek(std::uint64_t offset)
{
    LARGE_INTEGER target;
    target.QuadPart = static_cast<LONGLONG>(offset);
    return isOpen() && GetFileType(toHandle(handle_)) == FILE_TYPE_DISK &&
           SetFilePointerEx(toHandle(handle_), target, nullptr, FILE_BEGIN);
}

bool FileHandle::flush() { return isOpen() && FlushFileBuffers(toHandle(handle_)) != 0; }

bool FileHandle::close()
{
    if (!isOpen())
        return true;
    if (!CloseHandle(toHandle(handle_)))
        return false;
    handle_ = invalidHandle;
    return true;
}

bool pathExists(const std::string& path)
{
    return GetFileAttributesW(wideFromUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool deleteFile(const std::string& path) { return DeleteFileW(wideFromUtf8(path).c_str()) != 0; }

bool isReadOnlyFile(const std::string& path)
{
    DWORD attributes = GetFileAttributesW(wideFromUtf8(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
           (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool replaceFile(const std::string& from, const std::string& to)
{
    // Without MOVEFILE_COPY_ALLOWED a move between volumes fails instead of copying part of a file.
    return MoveFileExW(wideFromUtf8(from).c_str(), wideFromUtf8(to).c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

bool fileSize(const std::string& path, std::uint64_t& bytes)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(wideFromUtf8(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return false;
    bytes = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}
