#pragma once
// Files and folders for tests; paths are UTF-8 on every system, as the program's own are.
#include <string>

std::string fixturePath(const std::string& name);

// A fresh, empty folder, removed with everything in it at the end of the test.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const; // path() joined with name by the system's separator

private:
    std::string path_;
};

bool writeFileBytes(const std::string& path, const std::string& bytes);
// The whole file, or an empty text when it cannot be read.
std::string readFileBytes(const std::string& path);
bool makeFolder(const std::string& path);
bool setReadOnly(const std::string& path, bool readOnly);
// Every path below folder with a hash of its bytes: equal snapshots mean nothing was created,
// changed or deleted.
std::string folderSnapshot(const std::string& folder);
