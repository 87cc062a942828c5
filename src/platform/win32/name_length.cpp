#include "platform/name_length.h"

#include "platform/win32/wide_text.h"

std::size_t fileNameLength(const std::string& utf8Name) { return wideFromUtf8(utf8Name).size(); }
