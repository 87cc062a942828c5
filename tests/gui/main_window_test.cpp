// The main window walked as a user does, with the windows of the WAVE output command: what each
// shows, and the files written compared with what the core writes for the same choices.
#include "cli/terminal_front_end.h"
#include "convert/convert_window_ids.h"
#include "definition/figures.h"
#include "main_window_driver.h"
#include "support/test_files.h"
#include "toolkit_timer_script.h"
#include "windows/folder_window_ids.h"
#include "windows/version_window_ids.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::string>;
using Ticks = std::vector<bool>;

// The totals, then each row's tick and five cells.
Texts shown(HWND window)
{
    const HWND list = GetDlgItem(window, musicListId);
    Texts texts{statusText(GetDlgItem(window, statusBarId))};
    for (int row = 0; row < rowCount(list); ++row) {
        texts.push_back(ListView_GetCheckState(list, row) ? "ticked" : "");
        for (int column = 0; column < 5; ++column)
            texts.push_back(itemText(list, row, column));
    }
    return texts;
}

// The same for main_window_three.mrl by the core's figures.
Texts expected(const Ticks& ticks, std::uint32_t loops, std::uint32_t fade)
{
    LoopDefinition definition;
    definition.load(fixturePath("main_window_three.mrl"));
    Texts texts{""};
    std::uint64_t seconds = 0, bytes = 0;
    for (const MusicEntry& entry : definition.entries()) {
        const PieceFigures figures = pieceFigures(entry, loops, fade);
        const bool ticked = ticks.at(texts.size() / 6);
        texts.insert(texts.end(), {ticked ? "ticked" : "", entry.title, pieceTimeText(figures),
                                   formatSize(figures.fileSize), entry.file, entry.wave_file});
        seconds += ticked ? figures.playSeconds : 0;
        bytes += ticked ? figures.fileSize : 0;
    }
    texts[0] = totalsText(seconds, bytes);
    return texts;
}

// Each item of the menu followed by the items of its popup, indented.
Texts menuTexts(HMENU menu, const std::string& indent = "")
{
    Texts texts;
    char text[64];
    for (int n = 0; n < GetMenuItemCount(menu); ++n) {
        GetMenuStringA(menu, n, text, sizeof text, MF_BYPOSITION);
        const Texts items = menuTexts(GetSubMenu(menu, n), indent + "  ");
        texts.push_back(indent + text);
        texts.insert(texts.end(), items.begin(), items.end());
    }
    return texts;
}

void choose(HWND window, int popup, int item)
{
    sendCommand(window, static_cast<WORD>(GetMenuItemID(GetSubMenu(GetMenu(window), popup), item)));
}

// The user's part in one WAVE output command, played from a hook on what its windows are sent.
// seen gets the folder fields as they start, each question, each status text, and the button and
// the bar as the ended progress window closes.
struct Run {
    int button;                // pressed in the output settings; 0: the close box
    std::string bgm, out;      // typed there
    std::string answers = {};  // 'y' (はい) or 'n' to each overwrite question in turn
    std::string cancelAt = {}; // "キャンセル" is pressed when the status line shows this
    Texts seen = {};
};

Run* active = nullptr;

LRESULT CALLBACK watch(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT& call = *reinterpret_cast<const CWPSTRUCT*>(lParam);
    const HWND window = call.hwnd;
    Run& run = *active;
    if (call.message == WM_SHOWWINDOW && call.wParam && window == findWindow("#32770")) {
        run.seen.push_back(windowText(GetDlgItem(window, 0xFFFF)));
        postCommand(window, run.answers.substr(0, 1) == "y" ? IDYES : IDNO);
        run.answers.erase(0, 1);
    } else if (call.message == WM_SHOWWINDOW && call.wParam && window == findWindow("morlo_selectdir")) {
        run.seen.push_back(windowText(GetDlgItem(window, bgmFieldId)) + "|" +
                           windowText(GetDlgItem(window, outputFieldId)));
        SetDlgItemTextA(window, bgmFieldId, run.bgm.c_str());
        SetDlgItemTextA(window, outputFieldId, run.out.c_str());
        PostMessageA(window, run.button ? WM_COMMAND : WM_SYSCOMMAND, run.button ? run.button : SC_CLOSE, 0);
    } else if (call.message == WM_SETTEXT && GetDlgCtrlID(window) == statusLineId &&
               GetParent(window) == findWindow("morlo_convert")) {
        ShowWindow(GetParent(window), SW_HIDE); // else every step repaints the bar, slow under Wine
        run.seen.push_back(reinterpret_cast<const char*>(call.lParam));
        if (run.seen.back() == run.cancelAt || run.seen.back().rfind("出力終了(", 0) == 0)
            postCommand(GetParent(window), closeButtonId);
    } else if (call.message == WM_CLOSE && window == findWindow("morlo_convert") && windowText(window) == "出力終了") {
        const HWND bar = GetDlgItem(window, progressBarId);
        run.seen.push_back(windowText(GetDlgItem(window, closeButtonId)) + " " +
                           std::to_string(SendMessageA(bar, PBM_GETPOS, 0, 0)) + "/" +
                           std::to_string(SendMessageA(bar, PBM_GETRANGE, FALSE, 0)));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Chooses "WAVE出力" and plays the user's part; the main window must be enabled again afterwards.
Texts writeWaves(HWND window, Run run)
{
    active = &run;
    const HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, watch, nullptr, GetCurrentThreadId());
    choose(window, 0, 1);
    UnhookWindowsHookEx(hook);
    EXPECT_TRUE(IsWindowEnabled(window));
    return run.seen;
}

// Pieces 0.wav, 1.wav, … titled 曲0, 曲1, … cut 100 bytes apart from w.bgm, written beside.
std::string writeDefinition(const TempFolder& folder, int pieces, int size, int loopStart)
{
    std::string text = "[album]\r\ntitle=出力の試験\r\n", data;
    for (int n = 0; n < pieces; ++n)
        text += "[music" + std::to_string(10000 + n).substr(1) + "]\r\nfile=" + std::to_string(n) + ".wav\r\ntitle=曲" +
                std::to_string(n) + "\r\nwave_file=w.bgm\r\nwave_start=" + std::to_string(n * 100) + "\r\nwave_size=" +
                std::to_string(size) + "\r\nloop_start=" + std::to_string(loopStart) + "\r\nloop_size=" +
                std::to_string(size - loopStart) + "\r\n";
    while (data.size() < pieces * 100u + size)
        data += static_cast<char>(data.size() * 131 % 251);
    writeFileBytes(folder.file("w.bgm"), data);
    writeFileBytes(folder.file("x.mrl"), text);
    return folder.file("x.mrl");
}

} // namespace

TEST(MainWindow, ShowsWhatItOpensFollowsTicksAndNumbersAndWritesTheTickedPieces)
{
    TempFolder folder, core, out, many;
    const std::string definitionPath = writeDefinition(folder, 3, 20000, 4000);
    LoopDefinition definition;
    TerminalFrontEnd yesToAll(0, true);
    ASSERT_TRUE(definition.load(definitionPath));
    ASSERT_EQ(convertPieces(definition, {3, 1, core.path(), folder.path()}, {0, 1, 2}, yesToAll).successes, 3u);
    writeFileBytes(out.file("1.wav"), "older");
    writeFileBytes(out.file("2.wav"), "older");
    const std::string asks = "は存在します\n上書きしますか？";

    MainWindow mainWindow;
    EXPECT_TRUE(runMainWindow(mainWindow, [&](HWND window) {
        const HWND list = GetDlgItem(window, musicListId);
        EXPECT_EQ(windowText(window), "morlo");
        EXPECT_EQ(windowText(GetDlgItem(window, loopCountFieldId)) + windowText(GetDlgItem(window, fadeSecondsFieldId)),
                  "210");
        EXPECT_EQ(rowCount(list), 0);
        EXPECT_EQ(menuTexts(GetMenu(window)),
                  (Texts{"ファイル(&F)", "  定義ファイルを開く(&O)", "  WAVE出力(&S)", "  ", "  終了(&X)", "編集(&E)",
                         "  全て選択(&A)", "  全て解除(&U)", "  選択反転(&R)", "ヘルプ(&H)", "  バージョン情報(&A)"}));

        // Of several dropped files the first opens. By hand: 1,000,000 + 2 × 10,000,000 bytes, 10 s of
        // 176,400 bytes and the 46-byte header make 22,764,046 bytes, 129 s.
        dropFiles(window, {fixturePath("main_window_example.mrl"), fixturePath("main_window_other.mrl")});
        EXPECT_EQ(windowText(window) + "|" + windowText(GetDlgItem(window, albumLabelId)),
                  "morlo - 例のアルバム|例のアルバム");
        EXPECT_EQ(shown(window), (Texts{"合計時間 : 2:09 合計サイズ :  22,764,046", "ticked", "例の曲", "2:09",
                                        " 22,764,046", "example.wav", "example.bgm"}));

        // The first row's check box by the space bar; a refused file then changes nothing.
        dropFiles(window, {fixturePath("main_window_three.mrl")});
        ListView_SetItemState(list, 0, LVIS_FOCUSED, LVIS_FOCUSED);
        SendMessageA(list, WM_KEYDOWN, VK_SPACE, 0);
        dropFiles(window, {fixturePath("main_window_refused.mrl")});
        EXPECT_EQ(windowText(window), "morlo - 三曲集");
        EXPECT_EQ(shown(window), expected({false, true, true}, 2, 10));

        // 選択反転, 全て選択, 全て解除, 選択反転.
        const std::pair<int, Ticks> commands[] = {
            {2, {true, false, false}}, {0, {true, true, true}}, {1, {false, false, false}}, {2, {true, true, true}}};
        for (const auto& [item, after] : commands) {
            choose(window, 1, item);
            EXPECT_EQ(shown(window), expected(after, 2, 10)) << item;
        }

        // Typed key by key over all of the loop count; above 999 counts as 999, empty as 0.
        SendDlgItemMessageA(window, loopCountFieldId, EM_SETSEL, 0, -1);
        for (const auto& [key, loops] : {std::pair{'\b', 0}, {'1', 1}, {'5', 15}, {'0', 150}, {'0', 999}}) {
            SendDlgItemMessageA(window, loopCountFieldId, WM_CHAR, static_cast<WPARAM>(key), 0);
            EXPECT_EQ(shown(window), expected({true, true, true}, loops, 10)) << loops;
        }
        SetDlgItemTextA(window, fadeSecondsFieldId, "");
        EXPECT_EQ(shown(window), expected({true, true, true}, 999, 0));

        // Cancelled in its first piece, a run leaves the later ones alone.
        dropFiles(window, {definitionPath});
        SetDlgItemTextA(window, loopCountFieldId, "3");
        SetDlgItemTextA(window, fadeSecondsFieldId, "1");
        EXPECT_EQ(writeWaves(window, {0, folder.path(), out.path()}), Texts{"C:\\|C:\\"});
        EXPECT_EQ(writeWaves(window, {cancelButtonId, folder.path(), out.path()}), Texts{"C:\\|C:\\"});
        EXPECT_EQ(writeWaves(window, {convertButtonId, folder.path(), out.path(), "", "曲0を出力中"}),
                  (Texts{"C:\\|C:\\", "w.bgmから0.wavを読み込み中", "曲0を出力中"}));
        ListView_SetCheckState(list, 0, FALSE);
        EXPECT_EQ(writeWaves(window, {convertButtonId, folder.path(), out.path(), "yn"}),
                  (Texts{"C:\\|C:\\", "w.bgmから1.wavを読み込み中", "曲1を出力中", out.file("1.wav") + asks,
                         "w.bgmから2.wavを読み込み中", "曲2を出力中", out.file("2.wav") + asks,
                         "出力終了(成功:1個 失敗:1個)", "閉じる 11/11"}));
        EXPECT_TRUE(readFileBytes(out.file("1.wav")) == readFileBytes(core.file("1.wav")));
        EXPECT_EQ(readFileBytes(out.file("2.wav")), "older");

        // 66 pieces of empty loops, each loop still a step: 66 × (999 + 2) + 1 in all.
        dropFiles(window, {writeDefinition(many, 66, 4, 4)});
        SetDlgItemTextA(window, loopCountFieldId, "999");
        const Texts seen = writeWaves(window, {convertButtonId, many.path(), many.path()});
        EXPECT_EQ(Texts(seen.end() - std::min<std::size_t>(seen.size(), 2), seen.end()),
                  (Texts{"出力終了(成功:66個 失敗:0個)", "閉じる 66067/66067"}));

        std::string version;
        TimerScript script("morlo_version",
                           {[&] { version = windowText(GetDlgItem(findWindow("morlo_version"), versionTextId)); },
                            [] { postCommand(findWindow("morlo_version"), versionOkButtonId); },
                            [] { ADD_FAILURE() << "OK left the version window open"; }});
        choose(window, 2, 0);
        EXPECT_EQ(version, "morlo ver.1.01");
        EXPECT_TRUE(IsWindowEnabled(window));
    }));
}
