#pragma once
// Output names come from the definition file; they must never reach outside the output folder.
#include "platform/name_length.h"

#include <cstddef>
#include <cstdint>
#include <string>

// True for a bare file name: not empty, no '/' or ':' byte, no '\\' character (judged by Shift-JIS
// character, not by byte), and not made of dots only ("." and ".." name folders).
bool isPlainFileName(const std::string& shiftJisName);

// The name with its extension (from its last '.') replaced by extension, such as ".flac", or
// extension added when it has none.
std::string replaceExtension(const std::string& shiftJisName, const std::string& extension);

// The longest name titleFileName gives: what the system takes (name_length.h) less the ending of
// the unfinished file a piece is written to first (convert_pieces.h), whose name must fit too.
constexpr std::size_t longestTitleFileName = longestFileName - 17;

// A piece's file name after its title: the track number in at least two digits, a space, the
// title and extension, "07 title.flac" ("07.flac" for an empty title). Each character no Windows
// file name holds (\ / : * ? " < > |, control characters, and a byte that is no Shift-JIS
// character) becomes '_'. A title too long for longestTitleFileName is cut after its last
// character that fits, the extension kept.
std::string titleFileName(std::uint32_t track, const std::string& shiftJisTitle, const std::string& extension);
