#include "platform/output_folder.h"

#include "platform/win32/wide_text.h"

#include <windows.h>

FolderState outputFolderState(const std::string& folder)
{
    DWORD attributes = GetFileAttributesW(wideFromUtf8(folder).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return FolderState::Missing;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return FolderState::NotFolder;
    // A folder's read-only attribute says nothing about new files in it: only making one does.
    std::string probe = folder;
    if (probe.empty() || (probe.back() != '\\' && probe.back() != '/'))
        probe += '\\';
    probe += "morlo-write-test.morlo-unfinished";
    HANDLE file = CreateFileW(wideFromUtf8(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_EXISTS ? FolderState::Writable : FolderState::NotWritable;
    CloseHandle(file);
    return FolderState::Writable;
}

bool freeBytes(const std::string& folder, std::uint64_t& bytes)
{
    // An empty name would ask about the current drive instead.
    const std::wstring wideFolder = wideFromUtf8(folder);
    ULARGE_INTEGER available;
    if (wideFolder.empty() || !GetDiskFreeSpaceExW(wideFolder.c_str(), &available, nullptr, nullptr))
        return false;
    bytes = available.QuadPart;
    return true;
}
