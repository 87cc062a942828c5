#pragma once
// Scratch files for the fuzz targets and the check that aborts on a broken invariant.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// A folder of this process's own, emptied between inputs and removed at the end.
struct FuzzFolder {
    std::string path = mkdtemp(&(std::filesystem::temp_directory_path() / "morlo-fuzz-XXXXXX").string()[0]);
    ~FuzzFolder() { std::filesystem::remove_all(path); }
    std::string file(const std::string& name) const { return path + "/" + name; }
    void empty() const
    {
        for (const auto& child : std::filesystem::directory_iterator(path))
            std::filesystem::remove_all(child.path());
    }
};

inline bool writeBytes(const std::string& path, const std::string& bytes)
{
    return static_cast<bool>(std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size())));
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
    for (const auto& item : std::filesystem::directory_iterator(folder))
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
