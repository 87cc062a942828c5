#pragma once
// Character-wise handling of Shift-JIS (code page 932) byte strings. Trail bytes of two-byte
// characters include '\\', '[' and ']', so byte-wise scanning is wrong for these texts.
#include <cstddef>
#include <string>

bool isShiftJisLeadByte(unsigned char byte);

// The text cut to at most maxBytes bytes without splitting a two-byte character.
std::string cutShiftJis(const std::string& text, std::size_t maxBytes);

// Whether the last character of text is the single-byte character c.
bool endsWithShiftJisCharacter(const std::string& text, char c);

// Whether any character of text is the single-byte character c.
bool containsShiftJisCharacter(const std::string& text, char c);

// The text with the ASCII letters of its single-byte characters in upper case and every
// two-byte character unchanged: two names the system takes for the same file fold alike.
std::string foldShiftJisAsciiCase(const std::string& text);
