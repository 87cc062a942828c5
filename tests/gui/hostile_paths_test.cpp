#include "main_window_driver.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

TEST(HostilePaths, FolderOrDeviceDroppedOnTheWindowChangesNothing)
{
    TempFolder folder;
    MainWindow mainWindow;
    runMainWindow(mainWindow, [&](HWND window) {
        dropFiles(window, {fixturePath("main_window_three.mrl")});
        const std::string caption = windowText(window);
        HWND list = mainWindow.listView()->handle();
        for (const std::string& path : {folder.path(), std::string("\\\\.\\NUL"), std::string("Z:\\dev\\zero")}) {
            dropFiles(window, {path});
            EXPECT_EQ(windowText(window), caption) << path;
            EXPECT_EQ(rowCount(list), 3) << path;
            EXPECT_EQ(mainWindow.definition().entries().size(), 3u) << path;
        }
    });
}
