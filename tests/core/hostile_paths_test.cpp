#include "definition/loop_definition.h"
#include "platform/file_handle.h"
#include "support/test_files.h"

#include <fstream>
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

// Every path that this system and account can make; a missing file is refused by its empty content.
// Any regular file opens as a BGM file, whatever its size.
TEST(HostilePaths, AreRefusedAtOnceAsADefinitionAndAsABgmFile)
{
    TempFolder folder;
    // Accepted but for its size; seeking past the end leaves a hole, so no data is written.
    std::ofstream huge(folder.file("huge.mrl"), std::ios::binary);
    huge << "[album]\ntitle=A\n[music0000]\nfile=a.wav\n";
    huge.seekp(static_cast<std::streamoff>(largestProfileBytes)) << '\n';
    huge.close();
    struct Hostile { const char* what; std::string path; ProfileRefusal refusal; bool bgmOpens; };
    std::vector<Hostile> paths{{"a folder", folder.path(), ProfileRefusal::Folder, false},
                               {"a file over the limit", folder.file("huge.mrl"), ProfileRefusal::TooLarge, true}};
#ifdef _WIN32
    paths.push_back({"a device", "\\\\.\\NUL", ProfileRefusal::Unreadable, false});
    paths.push_back({"a device of the host", "Z:\\dev\\zero", ProfileRefusal::Unreadable, false});
#else
    paths.push_back({"a device", "/dev/zero", ProfileRefusal::NotRegularFile, false});
    if (mkfifo(folder.file("pipe").c_str(), 0600) == 0)
        paths.push_back({"a named pipe with no writer", folder.file("pipe"), ProfileRefusal::NotRegularFile, false});
    if (symlink(folder.file("gone.mrl").c_str(), folder.file("link.mrl").c_str()) == 0)
        paths.push_back({"a dangling symbolic link", folder.file("link.mrl"), ProfileRefusal::None, false});
    // Reading this one fails at its start, so the read error is seen even by an administrator.
    if (access("/proc/self/mem", F_OK) == 0)
        paths.push_back({"a file whose reading fails", "/proc/self/mem", ProfileRefusal::Unreadable, true});
    // An administrator reads any file, so the case is made only where the permission holds.
    const std::string locked = folder.file("locked.mrl");
    if (writeFileBytes(locked, "[album]\ntitle=A\n") && chmod(locked.c_str(), 0) == 0 && access(locked.c_str(), R_OK) != 0)
        paths.push_back({"a file without read permission", locked, ProfileRefusal::Unreadable, false});
    // The refusals come at once; a path that blocks ends the test rather than stalling it.
    alarm(5);
#endif
    for (const Hostile& hostile : paths) {
        LoopDefinition definition;
        ProfileRefusal refusal = ProfileRefusal::PathTooLong;
        EXPECT_FALSE(definition.load(hostile.path, &refusal)) << hostile.what;
        EXPECT_EQ(refusal, hostile.refusal) << hostile.what;
        FileHandle bgm;
        EXPECT_EQ(bgm.openRead(hostile.path), hostile.bgmOpens) << hostile.what;
    }
#ifndef _WIN32
    alarm(0);
#endif
}
