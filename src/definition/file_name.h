#pragma once
// Output names come from the definition file; they must never reach outside the output folder.
#include <string>

// True for a bare file name: not empty, no '/' or ':' byte, no '\\' character (judged by Shift-JIS
// character, not by byte), and not made of dots only ("." and ".." name folders).
bool isPlainFileName(const std::string& shiftJisName);

// The name with its extension (from its last '.') replaced by extension, such as ".flac", or
// extension added when it has none.
std::string replaceExtension(const std::string& shiftJisName, const std::string& extension);
