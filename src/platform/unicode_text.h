#pragma once
// Definitions saved as Unicode, read as the Shift-JIS texts every rule of the program works on.
#include <cstddef>
#include <string>

// The length of the UTF-8 character that starts at text[at]; 0 when none does (no overlong forms,
// no surrogates, nothing past U+10FFFF).
std::size_t utf8CharacterLength(const std::string& text, std::size_t at);

// Whether bytes are wholly valid UTF-8 with at least one character of more than one byte: what an
// editor that saves UTF-8 writes, and what a Shift-JIS text with Japanese in it hardly ever is.
bool isMultiByteUtf8(const std::string& bytes);

// UTF-16LE bytes (without their byte-order mark) as UTF-8; a lone surrogate becomes U+FFFD.
std::string utf8FromUtf16le(const std::string& bytes);

// The UTF-8 text in Shift-JIS. A character Shift-JIS lacks, or a byte that starts no character,
// becomes '?' and sets lost; nothing is ever mapped to a look-alike.
std::string shiftJisFromUtf8(const std::string& text, bool& lost);

// One character as Shift-JIS bytes, empty when Shift-JIS has no character that reads back as
// exactly this one. Implemented by each system's own code page 932 tables.
std::string shiftJisCharacter(char32_t character);

// One character as UTF-8.
std::string utf8Character(char32_t character);
