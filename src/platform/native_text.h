#pragma once
// Texts where they meet the system. Paths and everything printed are UTF-8 on every system (the
// Win32 side hands them to the system as UTF-16); the texts of definition files are Shift-JIS.
#include <string>

// A Shift-JIS text of a definition as UTF-8, for a path or a line to print; a byte that is no
// character shows as '?'.
std::string utf8Text(const std::string& shiftJis);

// The folder, the system's path separator unless the folder's last character already is one,
// then the name. An empty folder gives the separator followed by the name.
std::string joinPath(const std::string& folder, const std::string& name);
