#pragma once
// Scratch files for the fuzz targets: one folder per process, emptied between inputs.
#include <string>
#include <vector>

class FuzzFolder {
public:
    FuzzFolder();
    ~FuzzFolder();
    FuzzFolder(const FuzzFolder&) = delete;
    FuzzFolder& operator=(const FuzzFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // Removes everything inside the folder, keeping the folder.
    void empty() const;

private:
    std::string path_;
};

bool writeBytes(const std::string& path, const std::string& bytes);
std::string readBytes(const std::string& path);
// Every path below folder, relative to it, folders marked with a trailing '/'.
std::vector<std::string> listTree(const std::string& folder);
