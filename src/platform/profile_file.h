#pragma once
// The one part of reading a profile that each system does its own way: the file's bytes.
#include "platform/profile_source.h"

#include <string>

// The whole file at path (UTF-8, absolute or relative to the current folder) into bytes, or the
// reason it is no profile to read. A file that does not exist reads as empty, as the system's
// profile functions take it.
ProfileRefusal readProfileFile(const std::string& path, std::string& bytes);
