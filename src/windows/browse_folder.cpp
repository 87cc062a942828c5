#include "windows/browse_folder.h"

#include "platform/win32/wide_text.h"

#include <shlobj.h>

#include <vector>

namespace {

// Room for the longest path the system can name, not just MAX_PATH.
constexpr DWORD longestPath = 32768;

} // namespace

bool browseForFolder(HWND owner, LPCSTR title, std::wstring& folder)
{
    const std::wstring wideTitle = wideFromShiftJis(title);
    BROWSEINFOW browse{};
    browse.hwndOwner = owner;
    browse.lpszTitle = wideTitle.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    const PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&browse);
    if (!item)
        return false;
    std::vector<wchar_t> path(longestPath, L'\0');
    const bool hasPath = SHGetPathFromIDListEx(item, path.data(), longestPath, GPFIDL_DEFAULT);
    CoTaskMemFree(item);
    if (!hasPath)
        return false;
    folder = path.data();
    return true;
}
