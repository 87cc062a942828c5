#include "fault_support.h"

#include "convert/wave_header.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace faults {

std::string definitionText(const std::vector<PieceText>& pieces)
{
    std::string text = "[album]\r\ntitle=Faults\r\n";
    char section[32];
    for (std::size_t n = 0; n < pieces.size(); ++n) {
        const PieceText& p = pieces[n];
        std::snprintf(section, sizeof section, "[music%04u]\r\n", static_cast<unsigned>(n));
        text += section;
        text += "file=" + p.file + "\r\nwave_file=" + p.wave_file + "\r\n";
        text += "wave_start=" + std::to_string(p.wave_start) + "\r\nwave_size=" + std::to_string(p.wave_size) + "\r\n";
        text += "loop_start=" + std::to_string(p.loop_start) + "\r\nloop_size=" + std::to_string(p.loop_size) + "\r\n";
        text += "fmt_samples=" + std::to_string(p.fmt_samples) + "\r\n";
    }
    return text;
}

std::string patternBytes(std::uint64_t from, std::uint64_t length)
{
    std::string bytes(length, '\0');
    for (std::uint64_t i = 0; i < length; ++i) {
        std::uint64_t p = from + i;
        bytes[i] = static_cast<char>(p ^ (p >> 8) ^ (p >> 16) ^ (p >> 24) ^ (p >> 32));
    }
    return bytes;
}

std::string expectedWithoutFade(const MusicEntry& entry, std::uint32_t loopCount)
{
    auto header = waveHeader(entry, loopCount, 0);
    std::string file(header.begin(), header.end());
    file += patternBytes(entry.wave_start, entry.loop_start);
    const std::string loop = patternBytes(static_cast<std::uint64_t>(entry.wave_start) + entry.loop_start, entry.loop_size);
    for (std::uint32_t n = 0; n < loopCount; ++n)
        file += loop;
    return file;
}

void FaultFrontEnd::yieldOnce()
{
    if (cancelPiece_ != 0 && writing_ == cancelPiece_ && ++yieldsWhileWriting_ >= cancelYield_)
        cancelled_ = true;
}

#ifdef _WIN32

std::vector<std::string> listFolder(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? name + "\\" : name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

#else

std::vector<std::string> listFolder(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return names;
    while (dirent* item = readdir(dir)) {
        std::string name = item->d_name;
        if (name == "." || name == "..")
            continue;
        struct stat info;
        bool isFolder = stat((folder + "/" + name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        names.push_back(isFolder ? name + "/" : name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

#endif

bool writeSparseFile(const std::string& path, std::uint64_t length,
                     const std::vector<std::pair<std::uint64_t, std::string>>& parts)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const auto& part : parts) {
        out.seekp(static_cast<std::streamoff>(part.first));
        out.write(part.second.data(), static_cast<std::streamsize>(part.second.size()));
    }
    out.seekp(static_cast<std::streamoff>(length - 1));
    out.put('\0');
    return static_cast<bool>(out);
}

} // namespace faults
