#include "platform/file_handle.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <vector>

TEST(FileHandle, OpensOnlyExistingFilesForReading)
{
    TempFolder folder;
    FileHandle file;
    EXPECT_FALSE(file.openRead(folder.file("missing.dat")));
    EXPECT_FALSE(file.isOpen());
    ASSERT_TRUE(writeFileBytes(folder.file("data.dat"), "0123456789"));
    EXPECT_TRUE(file.openRead(folder.file("data.dat")));
    EXPECT_FALSE(file.openRead(folder.path())) << "a folder is not a file to read";
}

TEST(FileHandle, CreatesOnlyNewFilesAndLeavesExistingOnesAlone)
{
    TempFolder folder;
    ASSERT_TRUE(writeFileBytes(folder.file("kept.wav"), "old"));
    FileHandle file;
    EXPECT_FALSE(file.createWrite(folder.file("kept.wav")));
    EXPECT_EQ(readFileBytes(folder.file("kept.wav")), "old");
    ASSERT_TRUE(file.createWrite(folder.file("new.wav")));
    const std::uint8_t bytes[] = {'a', 'b', 'c'};
    EXPECT_EQ(file.write(bytes, 3), 3u);
    EXPECT_TRUE(file.close());
    EXPECT_TRUE(file.close()) << "closing twice is harmless";
    EXPECT_EQ(readFileBytes(folder.file("new.wav")), "abc");
}

TEST(FileHandle, ReadsAtOffsetsAndStopsAtTheEnd)
{
    TempFolder folder;
    std::string content(1000, '\0');
    for (std::size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<char>(i * 7);
    ASSERT_TRUE(writeFileBytes(folder.file("data.dat"), content));
    FileHandle file;
    ASSERT_TRUE(file.openRead(folder.file("data.dat")));
    std::vector<std::uint8_t> buffer(100, 0xEE);
    EXPECT_EQ(file.readAt(1000, 100, buffer.data()), 0u);
    EXPECT_EQ(file.readAt(990, 100, buffer.data()), 10u);
    EXPECT_EQ(buffer[0], static_cast<std::uint8_t>(content[990]));
    EXPECT_EQ(buffer[10], 0xEE) << "the rest of the destination is left untouched";
    EXPECT_EQ(file.readAt(0, 4, buffer.data()), 4u);
    EXPECT_EQ(file.readAt(FileHandle::currentPosition, 4, buffer.data()), 4u);
    EXPECT_EQ(buffer[0], static_cast<std::uint8_t>(content[4])) << "continues where the last read ended";
}

TEST(FileHandle, TellsWhetherAPathExistsAndDeletesFiles)
{
    TempFolder folder;
    EXPECT_TRUE(pathExists(folder.path()));
    EXPECT_FALSE(pathExists(folder.file("gone.wav")));
    ASSERT_TRUE(writeFileBytes(folder.file("gone.wav"), "x"));
    EXPECT_TRUE(pathExists(folder.file("gone.wav")));
    EXPECT_TRUE(deleteFile(folder.file("gone.wav")));
    EXPECT_FALSE(pathExists(folder.file("gone.wav")));
    EXPECT_FALSE(deleteFile(folder.file("gone.wav")));
}
