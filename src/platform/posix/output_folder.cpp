#include "platform/output_folder.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

FolderState outputFolderState(const std::string& folder)
{
    struct stat info;
    if (::stat(folder.c_str(), &info) != 0)
        return FolderState::Missing;
    if (!S_ISDIR(info.st_mode))
        return FolderState::NotFolder;
    return ::access(folder.c_str(), W_OK | X_OK) == 0 ? FolderState::Writable : FolderState::NotWritable;
}

bool freeBytes(const std::string& folder, std::uint64_t& bytes)
{
    struct statvfs info;
    if (::statvfs(folder.c_str(), &info) != 0)
        return false;
    bytes = static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
    return true;
}
