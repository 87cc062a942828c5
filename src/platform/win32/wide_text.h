#pragma once
// Where texts meet the system on Windows. Everything handed to the system is UTF-16: paths, which
// the program holds as UTF-8 on every system, and the Shift-JIS texts of the definitions and of
// the program itself, which are read with code page 932 whatever the system's own code page is.
#include <string>

// Empty when text is no valid UTF-8: a path that cannot be named exactly names no file at all,
// never a look-alike.
std::wstring wideFromUtf8(const std::string& text);
// Empty when text holds a half of a surrogate pair, which UTF-8 cannot carry.
std::string utf8FromWide(const std::wstring& text);
std::string utf8FromWide(const wchar_t* text);
// Shift-JIS (code page 932) as UTF-16; a byte that is no character becomes the code page's
// default character, so a text always shows.
std::wstring wideFromShiftJis(const std::string& text);
std::wstring wideFromShiftJis(const char* text);
