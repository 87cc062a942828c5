#include "platform/profile_file.h"

#include "platform/win32/wide_text.h"

#include <windows.h>

namespace {

// Owns a file handle for the time the file is read.
class SystemFile {
public:
    explicit SystemFile(HANDLE handle) : handle_(handle) {}
    ~SystemFile()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    SystemFile(const SystemFile&) = delete;
    SystemFile& operator=(const SystemFile&) = delete;
    HANDLE handle() const { return handle_; }

private:
    HANDLE handle_;
};

// A folder, a file of no sensible size and a path the system gives no file attributes for
// (devices among them) are refused before anything is opened.
ProfileRefusal refusalOf(const wchar_t* absolutePath)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(absolutePath, GetFileExInfoStandard, &data)) {
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

ProfileRefusal readProfileFile(const std::string& path, std::string& bytes)
{
    const std::wstring widePath = wideFromUtf8(path);
    wchar_t absolute[MAX_PATH];
    const DWORD length = widePath.empty() ? 0 : GetFullPathNameW(widePath.c_str(), MAX_PATH, absolute, nullptr);
    if (length == 0 || length >= MAX_PATH)
        return ProfileRefusal::PathTooLong;
    ProfileRefusal refusal = refusalOf(absolute);
    if (refusal != ProfileRefusal::None)
        return refusal;
    SystemFile file(CreateFileW(absolute, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.handle() == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ProfileRefusal::None
                                                                               : ProfileRefusal::Unreadable;
    }
    if (GetFileType(file.handle()) != FILE_TYPE_DISK)
        return ProfileRefusal::NotRegularFile;
    // The size is checked again while reading: a file may grow meanwhile.
    char chunk[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.handle(), chunk, sizeof chunk, &got, nullptr))
            return ProfileRefusal::Unreadable;
        if (got == 0)
            return ProfileRefusal::None;
        if (bytes.size() + got > largestProfileBytes)
            return ProfileRefusal::TooLarge;
        bytes.append(chunk, got);
    }
}
