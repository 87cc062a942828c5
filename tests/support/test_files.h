#pragma once
// Files and folders for tests, through the system's own narrow (ANSI) calls.
#include <string>

// A checked-in fixture, by its name in tests/fixtures.
std::string fixturePath(const std::string& name);

// A fresh, empty folder, removed with everything in it at the end of the test.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    // path() joined with name by the system's separator.
    std::string file(const std::string& name) const;

private:
    std::string path_;
};

bool writeFileBytes(const std::string& path, const std::string& bytes);
// The whole file, or an empty text when it cannot be read.
std::string readFileBytes(const std::string& path);
bool fileExists(const std::string& path);
bool makeFolder(const std::string& path);
// Makes a file or folder read-only (or writable again).
bool setReadOnly(const std::string& path, bool readOnly);
// Every file and folder below folder, sorted, each file with its size and a hash of its bytes:
// equal snapshots mean nothing was created, changed or deleted.
std::string folderSnapshot(const std::string& folder);
