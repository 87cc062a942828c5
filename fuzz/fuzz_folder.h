#pragma once
// Scratch files for the fuzz targets: one folder per process, emptied between inputs.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

class FuzzFolder {
public:
    FuzzFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "morlo-fuzz-XXXXXX").string();
        if (!mkdtemp(&pattern[0]))
            std::abort();
        path_ = pattern;
    }
    ~FuzzFolder() { std::filesystem::remove_all(path_, ignored_); }
    FuzzFolder(const FuzzFolder&) = delete;
    FuzzFolder& operator=(const FuzzFolder&) = delete;

    std::string file(const std::string& name) const { return path_ + "/" + name; }
    void empty()
    {
        for (const auto& child : std::filesystem::directory_iterator(path_, ignored_))
            std::filesystem::remove_all(child.path(), ignored_);
    }

private:
    std::string path_;
    std::error_code ignored_;
};

inline bool writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    return static_cast<bool>(out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())));
}

inline std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The names inside folder, sorted.
inline std::vector<std::string> listFolder(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto& item : std::filesystem::directory_iterator(folder, ignored))
        names.push_back(item.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

inline void require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}
