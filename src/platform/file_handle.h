#pragma once
// The only way the conversion touches files: one owner per open file, with exactly the
// operations a conversion needs. Implemented once over Win32 and once over POSIX.
#include <cstdint>
#include <string>

class FileHandle {
public:
    // Passed as the offset of readAt: read where the previous read ended.
    static constexpr std::uint64_t currentPosition = UINT64_MAX;

    FileHandle() = default;
    ~FileHandle();
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    // Opens an existing regular file for reading; other readers are allowed, writers are not.
    // Anything else (a folder, a device, a pipe) is refused at once, without waiting.
    // Closes the file held before; when that close fails the old file is kept and false returned.
    bool openRead(const std::string& path);
    // Creates a new file for writing; fails when a file of that name exists.
    bool createWrite(const std::string& path);
    // Writes to a copy of the process's standard output, byte for byte (no text mode): closing
    // it leaves standard output itself open.
    bool openStandardOutput();
    // Reads up to length bytes at offset (64-bit, so data past 2 GiB is reachable).
    // Returns the bytes actually read: fewer at the end of the file, 0 on failure.
    std::uint32_t readAt(std::uint64_t offset, std::uint32_t length, std::uint8_t* destination);
    // Writes length bytes at the current position; returns the bytes written, short on failure.
    std::uint32_t write(const std::uint8_t* source, std::uint32_t length);
    // Whether the last failed write failed because the file is a pipe whose reader has gone.
    bool readerGone() const { return readerGone_; }
    // The position from the start of the file, and moving it; false for what cannot seek (a pipe).
    bool position(std::uint64_t& offset);
    bool seek(std::uint64_t offset);
    // Moves what was written from the system's cache to the disk; false when that fails.
    bool flush();
    // True when no file is held afterwards; a failed close keeps the handle.
    bool close();
    bool isOpen() const { return handle_ != invalidHandle; }

private:
    // INVALID_HANDLE_VALUE and a closed POSIX descriptor are both -1.
    static constexpr std::intptr_t invalidHandle = -1;
    std::intptr_t handle_ = invalidHandle;
    bool readerGone_ = false;
};

// Whether anything (file or folder) exists under path.
bool pathExists(const std::string& path);
// Deletes a file; false when it could not be deleted.
bool deleteFile(const std::string& path);
// Whether path is a file whose own permissions forbid writing to it, whoever asks: the
// administrator too, who could write it anyway, is meant to respect it.
bool isReadOnlyFile(const std::string& path);
// Gives the file at from the name to, in one step: a file of that name is replaced, and
// whoever looks sees either the old file or the new one, never neither nor a mix.
bool replaceFile(const std::string& from, const std::string& to);
// The size of the file at path; false when there is none or the system cannot tell.
bool fileSize(const std::string& path, std::uint64_t& bytes);
