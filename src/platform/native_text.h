#pragma once
// The narrow text encoding of the system: Shift-JIS on Windows, UTF-8 elsewhere.
// Definition files are Shift-JIS; these turn their texts into what the system uses.
#include <string>

// A Shift-JIS text of a definition in the system's encoding (unchanged on Windows).
std::string nativeText(const std::string& shiftJis);

// A Shift-JIS text as UTF-8 on every system (for documents meant for other programs); a byte
// that is no character shows as '?'.
std::string utf8Text(const std::string& shiftJis);

// A text in the system's encoding (the program's own texts, and those made with nativeText) as
// UTF-8.
std::string utf8FromNative(const std::string& native);

// The folder, the system's path separator unless the folder's last character already is one,
// then the name. An empty folder gives the separator followed by the name.
std::string joinPath(const std::string& folder, const std::string& name);
