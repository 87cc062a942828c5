#pragma once
// How long a file name may be: 255 of the units the system counts, bytes of UTF-8 on Linux and
// UTF-16 units on Windows, whatever the file system.
#include <cstddef>
#include <string>

constexpr std::size_t longestFileName = 255;

// The length of utf8Name in the system's units.
std::size_t fileNameLength(const std::string& utf8Name);
