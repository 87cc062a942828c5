#include "main_window_driver.h"
#include "mainwindow/main_window_ids.h"
#include "support/test_files.h"
#include "toolkit/controls.h"
#include "windows/folder_window_ids.h"

#include <gtest/gtest.h>

namespace {

// What the user does in the two windows of the WAVE output command.
struct OutputAnswers {
    bool confirm = false;
    std::string bgmFolder;
    std::string outputFolder;
    bool sawProgress = false;
};

OutputAnswers* answers = nullptr;

void CALLBACK answerOutputWindows(HWND, UINT, UINT_PTR, DWORD)
{
    if (HWND folders = FindWindowA("morlo_selectdir", nullptr)) {
        if (!answers->confirm) {
            PostMessageA(folders, WM_CLOSE, 0, 0);
            return;
        }
        SetDlgItemTextA(folders, bgmFieldId, answers->bgmFolder.c_str());
        SetDlgItemTextA(folders, outputFieldId, answers->outputFolder.c_str());
        PostMessageA(folders, WM_COMMAND, MAKEWPARAM(convertButtonId, BN_CLICKED), 0);
        return;
    }
    if (HWND progress = FindWindowA("morlo_convert", nullptr)) {
        answers->sawProgress = true;
        if (windowText(progress) == "出力終了")
            PostMessageA(progress, WM_CLOSE, 0, 0);
    }
}

void writeWaves(HWND window, OutputAnswers& given)
{
    answers = &given;
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, answerOutputWindows);
    sendCommand(window, writeWaveCommand);
    KillTimer(nullptr, timer);
    answers = nullptr;
}

} // namespace

TEST(WaveOutput, CancelledFolderWindowWritesNothing)
{
    MainWindow mainWindow;
    runMainWindow(mainWindow, [&](HWND window) {
        dropFiles(window, {fixturePath("main_window_tiny.mrl")});
        OutputAnswers given;
        writeWaves(window, given);
        EXPECT_FALSE(given.sawProgress);
        EXPECT_TRUE(IsWindowEnabled(window));
    });
}

TEST(WaveOutput, WritesTickedRowsWithTheLimitedLoopCount)
{
    TempFolder bgm;
    TempFolder output;
    ASSERT_TRUE(writeFileBytes(bgm.file("tiny.bgm"), std::string("\1\0\2\0\3\0\4\0", 8)));
    MainWindow mainWindow;
    runMainWindow(mainWindow, [&](HWND window) {
        dropFiles(window, {fixturePath("main_window_tiny.mrl")});
        setItemChecked(*mainWindow.listView(), 0, false);
        SetDlgItemTextA(window, loopCountFieldId, "1500");
        SetDlgItemTextA(window, fadeSecondsFieldId, "0");
        OutputAnswers given{true, bgm.path(), output.path()};
        writeWaves(window, given);
        EXPECT_TRUE(given.sawProgress);
        EXPECT_TRUE(IsWindowEnabled(window));
    });
    EXPECT_FALSE(fileExists(output.file("skipped.wav")));
    // 46 header bytes, the 4-byte introduction and 999 loops of 4 bytes.
    EXPECT_EQ(readFileBytes(output.file("written.wav")).size(), 46u + 4u + 999u * 4u);
}
