#pragma once
// Text conversion between encodings through the C library's iconv.
#include <string>

// The text in encoding to; a byte that is no character of from shows as '?'. The text is
// returned unchanged when the system cannot convert between the two.
std::string convertEncoding(const std::string& text, const char* from, const char* to);
