#include "platform/name_length.h"

std::size_t fileNameLength(const std::string& utf8Name) { return utf8Name.size(); }
