// The WAVE output command through its windows: the output settings, the overwrite questions and
// the progress window, with the files compared with what the core writes for the same choices.
#include "convert/convert_pieces.h"
#include "convert/convert_window_ids.h"
#include "main_window_driver.h"
#include "support/test_files.h"
#include "toolkit_timer_script.h"
#include "windows/folder_window_ids.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::string>;

// What the user does in the windows of one command; seen gets, in order, the two fields as they
// start, each question, each status text and at the end the button with the bar's position.
struct Run {
    int button;                     // of the output settings; 0 for the close box
    std::string bgm, out;           // typed into the fields
    std::vector<int> answers = {};  // to the overwrite questions, in order
    std::string cancelAt = {};      // "キャンセル" as soon as the status line shows this
    bool hide = false;              // a visible bar repaints at each step of a long run
    Texts seen = {};
};

Run* active = nullptr;

void CALLBACK watch(HWND, UINT, UINT_PTR, DWORD)
{
    Run& run = *active;
    char text[1024] = {};
    if (const HWND box = findWindow("#32770")) {
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        run.seen.push_back(text);
        postCommand(box, run.answers.empty() ? IDNO : run.answers.front());
        if (!run.answers.empty())
            run.answers.erase(run.answers.begin());
    } else if (const HWND folders = findWindow("morlo_selectdir")) {
        run.seen.push_back(windowText(GetDlgItem(folders, bgmFieldId)) + "|" +
                           windowText(GetDlgItem(folders, outputFieldId)));
        SetDlgItemTextA(folders, bgmFieldId, run.bgm.c_str());
        SetDlgItemTextA(folders, outputFieldId, run.out.c_str());
        if (run.button)
            postCommand(folders, run.button);
        else
            PostMessageA(folders, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else if (const HWND progress = findWindow("morlo_convert")) {
        if (run.hide)
            ShowWindow(progress, SW_HIDE);
        if (windowText(progress) != "出力終了")
            return;
        const HWND bar = GetDlgItem(progress, progressBarId);
        run.seen.push_back(windowText(GetDlgItem(progress, closeButtonId)) + " " +
                           std::to_string(SendMessageA(bar, PBM_GETPOS, 0, 0)) + "/" +
                           std::to_string(SendMessageA(bar, PBM_GETRANGE, FALSE, 0)));
        postCommand(progress, closeButtonId);
    }
}

// Every text the progress window's status line is given.
LRESULT CALLBACK watchStatus(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_SETTEXT && GetDlgCtrlID(call->hwnd) == statusLineId &&
        GetParent(call->hwnd) == findWindow("morlo_convert")) {
        active->seen.push_back(reinterpret_cast<const char*>(call->lParam));
        if (active->seen.back() == active->cancelAt)
            postCommand(GetParent(call->hwnd), closeButtonId);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Chooses "WAVE出力" in the file menu and plays the user's part in the windows that follow.
Texts writeWaves(HWND window, Run run)
{
    active = &run;
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, watch);
    const HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, watchStatus, nullptr, GetCurrentThreadId());
    sendCommand(window, static_cast<WORD>(GetMenuItemID(GetSubMenu(GetMenu(window), 0), 1)));
    UnhookWindowsHookEx(hook);
    KillTimer(nullptr, timer);
    EXPECT_TRUE(IsWindowEnabled(window));
    return run.seen;
}

// A definition of pieces 0.wav, 1.wav, … ("曲0", …) cut from bgm\w.bgm 100 bytes apart.
std::string writeDefinition(const TempFolder& folder, int pieces, int size, int loopStart)
{
    std::string text = "[album]\r\ntitle=出力の試験\r\n";
    for (int n = 0; n < pieces; ++n)
        text += "[music" + std::to_string(10000 + n).substr(1) + "]\r\nfile=" + std::to_string(n) + ".wav\r\ntitle=曲" +
                std::to_string(n) + "\r\nwave_file=w.bgm\r\nwave_start=" + std::to_string(n * 100) +
                "\r\nwave_size=" + std::to_string(size) + "\r\nloop_start=" + std::to_string(loopStart) +
                "\r\nloop_size=" + std::to_string(size - loopStart) + "\r\n";
    std::string data(pieces * 100 + size, '\0');
    for (std::size_t n = 0; n < data.size(); ++n)
        data[n] = static_cast<char>(n * 131 % 251);
    makeFolder(folder.file("bgm"));
    writeFileBytes(folder.file("bgm\\w.bgm"), data);
    writeFileBytes(folder.file("x.mrl"), text);
    return folder.file("x.mrl");
}

class YesToAll : public ConversionFrontEnd {
    void step() override {}
    void yieldOnce() override {}
    bool isCancelled() override { return false; }
    void showReading(const MusicEntry&) override {}
    void showWriting(const MusicEntry&) override {}
    bool confirmOverwrite(const std::string&) override { return true; }
    void pieceFailed(const MusicEntry&, PieceFailure) override {}
};

} // namespace

TEST(WaveOutput, WritesTheTickedRowsAsTheCoreDoesAndAsksBeforeReplacing)
{
    TempFolder folder;
    const std::string bgm = folder.file("bgm"), out = folder.file("out"), other = folder.file("other");
    const std::string definitionPath = writeDefinition(folder, 3, 20000, 4000);
    LoopDefinition definition;
    ASSERT_TRUE(definition.load(definitionPath));
    OutputOptions options{3, 1, folder.file("core"), bgm};
    YesToAll yes;
    makeFolder(options.outputFolder);
    ASSERT_EQ(convertPieces(definition, options, {0, 1, 2}, yes).successes, 3u);
    const auto core = [&](const std::string& name) { return readFileBytes(options.outputFolder + "\\" + name); };
    makeFolder(out);
    makeFolder(other);
    writeFileBytes(out + "\\1.wav", "older");
    writeFileBytes(out + "\\2.wav", "older");
    const std::string asks = "は存在します\n上書きしますか？";

    MainWindow mainWindow;
    runMainWindow(mainWindow, [&](HWND window) {
        dropFiles(window, {definitionPath});
        ListView_SetCheckState(GetDlgItem(window, musicListId), 0, FALSE);
        SetDlgItemTextA(window, loopCountFieldId, "3");
        SetDlgItemTextA(window, fadeSecondsFieldId, "1");
        EXPECT_EQ(writeWaves(window, {0, bgm, out}), Texts{"C:\\|C:\\"});
        EXPECT_EQ(writeWaves(window, {cancelButtonId, bgm, out}), Texts{"C:\\|C:\\"});
        EXPECT_EQ(writeWaves(window, {convertButtonId, bgm, out, {IDYES, IDNO}}),
                  (Texts{"C:\\|C:\\", "w.bgmから1.wavを読み込み中", "曲1を出力中", out + "\\1.wav" + asks,
                         "w.bgmから2.wavを読み込み中", "曲2を出力中", out + "\\2.wav" + asks,
                         "出力終了(成功:1個 失敗:1個)", "閉じる 11/11"}));
        EXPECT_FALSE(fileExists(out + "\\0.wav"));
        EXPECT_TRUE(readFileBytes(out + "\\1.wav") == core("1.wav"));
        EXPECT_EQ(readFileBytes(out + "\\2.wav"), "older");

        sendCommand(window, static_cast<WORD>(GetMenuItemID(GetSubMenu(GetMenu(window), 1), 0)));
        EXPECT_EQ(writeWaves(window, {convertButtonId, bgm, other, {}, "曲1を出力中"}),
                  (Texts{"C:\\|C:\\", "w.bgmから0.wavを読み込み中", "曲0を出力中", "w.bgmから1.wavを読み込み中",
                         "曲1を出力中"}));
        EXPECT_TRUE(readFileBytes(other + "\\0.wav") == core("0.wav"));
        EXPECT_FALSE(fileExists(other + "\\2.wav"));
    });
}

TEST(WaveOutput, RunOfMoreThan65535StepsFillsTheBar)
{
    TempFolder folder;
    const std::string definitionPath = writeDefinition(folder, 66, 4, 4);
    makeFolder(folder.file("out"));
    MainWindow mainWindow;
    runMainWindow(mainWindow, [&](HWND window) {
        dropFiles(window, {definitionPath});
        SetDlgItemTextA(window, loopCountFieldId, "999");
        // Empty loops: every one is still a step, 66 × (999 + 2) + 1 in all.
        const Texts seen = writeWaves(window, {convertButtonId, folder.file("bgm"), folder.file("out"), {}, {}, true});
        ASSERT_GE(seen.size(), 2u);
        EXPECT_EQ(seen[seen.size() - 2], "出力終了(成功:66個 失敗:0個)");
        EXPECT_EQ(seen.back(), "閉じる 66067/66067");
    });
}
