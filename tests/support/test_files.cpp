#include "support/test_files.h"

#include "fixture_folder.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <functional>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

#ifdef _WIN32
const std::string separator = "\\";
const char* const temporaryFolderVariable = "TEMP";
int createFolder(const char* path) { return mkdir(path); }
#else
const std::string separator = "/";
const char* const temporaryFolderVariable = "TMPDIR";
int createFolder(const char* path) { return mkdir(path, 0755); }
#endif

bool isFolder(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Every path below folder, sorted, each folder before what it holds.
std::vector<std::string> walk(const std::string& folder)
{
    std::vector<std::string> names, found;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* item = readdir(dir))
            if (std::string(item->d_name) != "." && std::string(item->d_name) != "..")
                names.push_back(folder + separator + item->d_name);
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        found.push_back(name);
        for (const std::string& inner : isFolder(name) ? walk(name) : std::vector<std::string>())
            found.push_back(inner);
    }
    return found;
}

} // namespace

std::string fixturePath(const std::string& name) { return MORLO_FIXTURE_FOLDER + separator + name; }

TempFolder::TempFolder()
{
    const char* base = std::getenv(temporaryFolderVariable);
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; path_.empty() && attempt < 1000; ++attempt) {
        std::string name = std::string(base && *base ? base : "/tmp") + separator + "morlo-test-" + std::to_string(stamp + attempt);
        if (createFolder(name.c_str()) == 0)
            path_ = name;
    }
}

TempFolder::~TempFolder()
{
    std::vector<std::string> found = walk(path_);
    // Read-only files and folders left by a test must not stop the clean-up.
    for (auto item = found.rbegin(); item != found.rend(); ++item) {
        setReadOnly(*item, false);
        isFolder(*item) ? rmdir(item->c_str()) : unlink(item->c_str());
    }
    rmdir(path_.c_str());
}

std::string TempFolder::file(const std::string& name) const { return path_ + separator + name; }

bool writeFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    return static_cast<bool>(out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())));
}

std::string readFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool fileExists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

bool makeFolder(const std::string& path) { return createFolder(path.c_str()) == 0; }

bool setReadOnly(const std::string& path, bool readOnly) { return chmod(path.c_str(), readOnly ? 0555 : 0755) == 0; }

std::string folderSnapshot(const std::string& folder)
{
    std::string snapshot;
    for (const std::string& path : walk(folder)) {
        std::string bytes = isFolder(path) ? separator : readFileBytes(path);
        snapshot += path.substr(folder.size()) + " " + std::to_string(bytes.size()) + " " +
                    std::to_string(std::hash<std::string>()(bytes)) + "\n";
    }
    return snapshot;
}
