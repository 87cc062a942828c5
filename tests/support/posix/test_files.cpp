#include "support/test_files.h"

#include "fixture_folder.h"

#include <cstdlib>
#include <fstream>
#include <ftw.h>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

std::string fixturePath(const std::string& name) { return std::string(MORLO_FIXTURE_FOLDER) + "/" + name; }

TempFolder::TempFolder()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/morlo-test-XXXXXX";
    if (mkdtemp(&pattern[0]))
        path_ = pattern;
}

TempFolder::~TempFolder()
{
    if (path_.empty())
        return;
    // Read-only folders left by a test must not stop the clean-up.
    nftw(path_.c_str(), [](const char* p, const struct stat*, int, struct FTW*) { return chmod(p, 0700), 0; }, 16,
         FTW_PHYS);
    nftw(path_.c_str(), [](const char* p, const struct stat*, int, struct FTW*) { return remove(p), 0; }, 16,
         FTW_DEPTH | FTW_PHYS);
}

std::string TempFolder::file(const std::string& name) const { return path_ + "/" + name; }

bool writeFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::string readFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool fileExists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

bool makeFolder(const std::string& path) { return mkdir(path.c_str(), 0755) == 0; }

bool setReadOnly(const std::string& path, bool readOnly)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return false;
    mode_t mode = S_ISDIR(info.st_mode) ? (readOnly ? 0555 : 0755) : (readOnly ? 0444 : 0644);
    return chmod(path.c_str(), mode) == 0;
}
