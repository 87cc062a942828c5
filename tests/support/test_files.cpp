#include "support/test_files.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numeric>
#include <vector>

namespace fs = std::filesystem;

namespace {
const std::string separator(1, static_cast<char>(fs::path::preferred_separator));
} // namespace

std::string fixturePath(const std::string& name) { return MORLO_FIXTURE_FOLDER + separator + name; }

TempFolder::TempFolder()
{
    std::error_code error;
    fs::path name = fs::temp_directory_path(error) /
                    ("morlo-test-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    if (fs::create_directory(name, error))
        path_ = name.u8string();
}

TempFolder::~TempFolder()
{
    // Read-only files and folders left by a test must not stop the clean-up.
    std::error_code error;
    for (const auto& item : fs::recursive_directory_iterator(fs::u8path(path_), error))
        fs::permissions(item.path(), fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove_all(fs::u8path(path_), error);
}

std::string TempFolder::file(const std::string& name) const { return path_ + separator + name; }

bool writeFileBytes(const std::string& path, const std::string& bytes)
{
    return static_cast<bool>(std::ofstream(fs::u8path(path), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size())));
}

std::string readFileBytes(const std::string& path)
{
    std::ifstream in(fs::u8path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool makeFolder(const std::string& path)
{
    std::error_code error;
    return fs::create_directory(fs::u8path(path), error);
}

bool setReadOnly(const std::string& path, bool readOnly)
{
    std::error_code error;
    fs::permissions(fs::u8path(path), readOnly ? static_cast<fs::perms>(0555) : static_cast<fs::perms>(0755), error);
    return !error;
}

std::string folderSnapshot(const std::string& folder)
{
    std::vector<std::string> lines;
    for (const auto& item : fs::recursive_directory_iterator(fs::u8path(folder))) {
        std::ifstream in(item.is_directory() ? fs::path() : item.path(), std::ios::binary);
        std::string bytes(std::istreambuf_iterator<char>(in), {});
        lines.push_back(item.path().u8string() + " " + std::to_string(std::hash<std::string>()(bytes)) + "\n");
    }
    std::sort(lines.begin(), lines.end());
    return std::accumulate(lines.begin(), lines.end(), std::string());
}
