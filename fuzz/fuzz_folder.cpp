#include "fuzz_folder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

FuzzFolder::FuzzFolder()
{
    std::string pattern = (fs::temp_directory_path() / "morlo-fuzz-XXXXXX").string();
    if (!mkdtemp(&pattern[0]))
        std::abort();
    path_ = pattern;
}

FuzzFolder::~FuzzFolder()
{
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void FuzzFolder::empty() const
{
    std::error_code ignored;
    for (const auto& child : fs::directory_iterator(path_, ignored))
        fs::remove_all(child.path(), ignored);
}

bool writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> listTree(const std::string& folder)
{
    std::vector<std::string> found;
    std::error_code ignored;
    for (const auto& item : fs::recursive_directory_iterator(folder, ignored)) {
        std::string name = fs::relative(item.path(), folder, ignored).string();
        found.push_back(item.is_directory(ignored) ? name + "/" : name);
    }
    std::sort(found.begin(), found.end());
    return found;
}
