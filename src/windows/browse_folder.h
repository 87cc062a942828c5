#pragma once
// The shell's folder browser, for file-system folders only.
#include <windows.h>

#include <string>

// True when the user chose a folder that has a file-system path; folder then holds that path.
// Cancelling, or a choice without such a path, leaves folder as it was. The title is Shift-JIS.
bool browseForFolder(HWND owner, LPCSTR title, std::wstring& folder);
