#include "windows/browse_folder.h"

#include <shlobj.h>

bool browseForFolder(HWND owner, LPCSTR title, std::string& folder)
{
    BROWSEINFOA browse{};
    browse.hwndOwner = owner;
    browse.lpszTitle = title;
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    const PIDLIST_ABSOLUTE item = SHBrowseForFolderA(&browse);
    if (!item)
        return false;
    char path[MAX_PATH] = {};
    const bool hasPath = SHGetPathFromIDListA(item, path);
    CoTaskMemFree(item);
    if (!hasPath)
        return false;
    folder = path;
    return true;
}
