#pragma once
// What a conversion needs to know of its output folder before it starts.
#include <cstdint>
#include <string>

enum class FolderState {
    Writable,
    Missing,     // nothing of that name exists
    NotFolder,   // it is a file or something else
    NotWritable, // no new file can be made in it (permissions, a read-only medium)
};

FolderState outputFolderState(const std::string& folder);

// The bytes that new files in folder may still take; false when the system cannot tell.
bool freeBytes(const std::string& folder, std::uint64_t& bytes);
