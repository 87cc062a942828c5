// The main window and the windows of its commands walked as a user does, under Wine in Xvfb.
#include "cli/terminal_front_end.h"
#include "windows/progress_window_ids.h"
#include "main_window_driver.h"
#include "mainwindow/context_menu_point.h"
#include "platform/native_text.h"
#include "platform/win32/wide_text.h"
#include "support/test_files.h"
#include "toolkit/message_pump.h"
#include "windows/folder_window_ids.h"
#include "windows/version_window_ids.h"
#include "writers/writer_for_format.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <filesystem>
#include <memory>
#include <ostream>
#include <set>
#include <tuple>

namespace {

using Texts = std::vector<std::string>;

// This thread's top-level window of a class, or null: other programs may share the window station.
HWND findWindow(LPCSTR className)
{
    HWND window = FindWindowExA(nullptr, nullptr, className, nullptr);
    while (window && GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId())
        window = FindWindowExA(nullptr, window, className, nullptr);
    return window;
}

void postCommand(HWND window, int id) { PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(id), 0); }

// What the main window shows around its list.
struct Shown {
    std::string caption, album, loops, fade, status;
    int rows;
    std::string checks; // the Options menu's items: "T", "L" or "F" when checked, "-" when not

    auto fields() const { return std::tie(caption, album, loops, fade, status, rows, checks); }
    bool operator==(const Shown& other) const { return fields() == other.fields(); }
};

void PrintTo(const Shown& shown, std::ostream* out)
{
    *out << "caption \"" << shown.caption << "\", album \"" << shown.album << "\", loops \"" << shown.loops
         << "\", fade \"" << shown.fade << "\", status \"" << shown.status << "\", " << shown.rows << " rows, checks "
         << shown.checks;
}

Shown shownAround(HWND window)
{
    const auto text = [window](int id) { return windowText(GetDlgItem(window, id)); };
    const auto checked = [window](UINT id, char mark) {
        return GetMenuState(GetMenu(window), id, MF_BYCOMMAND) & MF_CHECKED ? mark : '-';
    };
    return {windowText(window), text(albumLabelId), text(loopCountFieldId), text(fadeSecondsFieldId),
            statusText(GetDlgItem(window, statusBarId)), rowCount(GetDlgItem(window, musicListId)),
            {checked(tagsChoiceCommand, 'T'), checked(loopPointsChoiceCommand, 'L'), checked(fullFadeChoiceCommand, 'F')}};
}

// The list's rows, each its tick ('x' or '-') and cells, and the status bar.
std::string listShown(HWND window)
{
    const HWND list = GetDlgItem(window, musicListId);
    std::string shown;
    for (int row = 0; row < rowCount(list); ++row) {
        shown += ListView_GetCheckState(list, row) ? "x" : "-";
        for (int column = 0; column < 5; ++column)
            shown += "|" + itemText(list, row, column);
        shown += "\n";
    }
    return shown + statusText(GetDlgItem(window, statusBarId));
}

// What listShown must be for main_window_three.mrl: each row's "time|size" and the totals', the
// output names ending in extension.
std::string threePieces(const std::string& ticks, const Texts& figures, const std::string& totals,
                        const std::string& extension = ".wav")
{
    const std::string titles[] = {u8"一曲目", u8"二曲目", u8"形式なし"}, files[] = {"first", "second", "silent"};
    std::string rows;
    for (int row = 0; row < 3; ++row)
        rows += ticks.substr(row, 1) + "|" + titles[row] + "|" + figures.at(row) + "|" + files[row] + extension + "|three.bgm\n";
    return rows + u8"合計時間 : " + totals.substr(0, totals.find('|')) + u8" 合計サイズ : " + totals.substr(totals.find('|') + 1);
}

// The Options menu's format items in order: each its access key when it has the round mark, "-"
// when it has none, "?" when its mark is a tick.
std::string formatMarks(HWND window)
{
    std::string marks;
    for (const auto& [id, key] : {std::pair{waveFormatCommand, 'W'}, {flacFormatCommand, 'C'}, {oggVorbisFormatCommand, 'V'}}) {
        MENUITEMINFOW item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_STATE;
        GetMenuItemInfoW(GetMenu(window), id, FALSE, &item);
        marks += !(item.fState & MFS_CHECKED) ? '-' : item.fType & MFT_RADIOCHECK ? key : '?';
    }
    return marks;
}

// Picks an item of a popup of the menu bar as a user does; the result is the item's text.
std::string choose(HWND window, int popup, int item)
{
    wchar_t text[64] = {};
    const HMENU menu = GetSubMenu(GetMenu(window), popup);
    GetMenuStringW(menu, item, text, 64, MF_BYPOSITION);
    sendCommand(window, static_cast<WORD>(GetMenuItemID(menu, item)));
    return utf8FromWide(text);
}

// The user's part in what an action opens, played from a hook on what this thread's windows are
// sent while the action runs.
using UserPart = std::function<void(const CWPSTRUCT& sent)>;
const UserPart* playing = nullptr;

LRESULT CALLBACK play(int code, WPARAM wParam, LPARAM lParam)
{
    (*playing)(*reinterpret_cast<const CWPSTRUCT*>(lParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void withUser(const UserPart& part, const std::function<void()>& action)
{
    playing = &part;
    const HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, play, nullptr, GetCurrentThreadId());
    action();
    UnhookWindowsHookEx(hook);
    playing = nullptr;
}

// The user's answers in one WAVE output command.
struct Answers {
    bool confirm = true;   // the output settings confirmed with 変換; false: closed instead
    bool browse = false;   // the folders chosen with "..." in the folder browser; false: typed
    int yeses = 0;         // overwrite questions answered はい; the ones after them get いいえ
    std::string cancelAt;  // "キャンセル" is pressed when the status line shows this
};

// The output-settings window's caption and its controls' texts in the order of their ids.
std::string folderWindowTexts(HWND window)
{
    std::string texts = windowText(window);
    for (int id = bgmLabelId; id <= convertButtonId; ++id)
        texts += "|" + windowText(GetDlgItem(window, id));
    return texts;
}

// Questions, status texts, then button and bar as the ended progress window closes.
Texts writeWaves(HWND window, const std::string& bgm, const std::string& out, Answers answers)
{
    Texts seen;
    std::string shown, confirmed;
    bool refusalKeptWindow = false;
    const std::wstring folders[] = {wideFromUtf8(bgm), wideFromUtf8(out)};
    int browsed = 0;
    const UserPart part = [&](const CWPSTRUCT& sent) {
        const auto [data, flag, message, hwnd] = sent;
        const HWND settings = findWindow("morlo_selectdir");
        if (message == WM_SHOWWINDOW && flag && hwnd == findWindow("#32770") &&
            FindWindowExW(hwnd, nullptr, WC_TREEVIEWW, nullptr)) {
            // The folder browser, the one dialog with a tree: the BGM folder first, then the output folder.
            SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folders[browsed++].c_str()));
            postCommand(hwnd, IDOK);
        } else if (message == WM_SHOWWINDOW && flag && hwnd == findWindow("#32770")) {
            seen.push_back(windowText(GetDlgItem(hwnd, 0xFFFF)));
            postCommand(hwnd, answers.yeses-- > 0 ? IDYES : IDNO);
        } else if (message == WM_SHOWWINDOW && flag && hwnd == settings) {
            shown = folderWindowTexts(hwnd);
            // Half of a surrogate pair names no folder: 変換 leaves the window open.
            SetDlgItemTextW(hwnd, bgmFieldId, L"C:\\\xD800");
            SendMessageW(hwnd, WM_COMMAND, convertButtonId, 0);
            refusalKeptWindow = IsWindow(hwnd);
            if (!answers.browse) {
                SetDlgItemTextW(hwnd, bgmFieldId, folders[0].c_str());
                SetDlgItemTextW(hwnd, outputFieldId, folders[1].c_str());
            }
            if (!answers.confirm)
                PostMessageW(hwnd, WM_CLOSE, 0, 0);
            else
                postCommand(hwnd, answers.browse ? bgmBrowseButtonId : convertButtonId);
        } else if (message == WM_SETTEXT && GetParent(hwnd) == settings && browsed > 0 &&
                   GetDlgCtrlID(hwnd) == (browsed == 1 ? bgmFieldId : outputFieldId)) {
            // The browser's choice arrives in its field: on to the output folder's "...", then to 変換.
            postCommand(settings, browsed == 1 ? outputBrowseButtonId : convertButtonId);
        } else if (message == WM_CLOSE && hwnd == settings) {
            confirmed = windowText(GetDlgItem(hwnd, bgmFieldId)) + "|" + windowText(GetDlgItem(hwnd, outputFieldId));
        } else if (message == WM_SETTEXT && GetDlgCtrlID(hwnd) == statusLineId &&
                   GetParent(hwnd) == findWindow("morlo_convert")) {
            ShowWindow(GetParent(hwnd), SW_HIDE); // else every step repaints the bar, slow under Wine
            seen.push_back(utf8FromWide(reinterpret_cast<const wchar_t*>(data)));
            if (seen.back() == answers.cancelAt)
                postCommand(GetParent(hwnd), closeButtonId);
        } else if (message == WM_SETTEXT && GetDlgCtrlID(hwnd) == closeButtonId &&
                   GetParent(hwnd) == findWindow("morlo_convert")) {
            postCommand(GetParent(hwnd), closeButtonId); // the run has ended, whatever its texts say
        } else if (message == WM_CLOSE && hwnd == findWindow("morlo_convert") && windowText(hwnd) == u8"出力終了") {
            const auto bar = [hwnd](UINT query) { return SendDlgItemMessageW(hwnd, progressBarId, query, 0, 0); };
            seen.push_back(windowText(GetDlgItem(hwnd, closeButtonId)) + " " + std::to_string(bar(PBM_GETPOS)) + "/" +
                           std::to_string(bar(PBM_GETRANGE)));
        }
    };
    std::string chosen;
    withUser(part, [&] { chosen = choose(window, 0, 1); });
    EXPECT_EQ(chosen, u8"WAVE出力(&S)");
    EXPECT_EQ(shown, u8"フォルダの指定|BGMフォルダ|出力フォルダ|C:\\|C:\\|...|...|キャンセル|変換");
    EXPECT_TRUE(refusalKeptWindow);
    EXPECT_EQ(confirmed, answers.confirm ? bgm + "|" + out : ""); // closing confirms nothing
    EXPECT_TRUE(IsWindowEnabled(window));
    return seen.empty() ? Texts{"nothing seen"} : seen;
}

// Pieces 0.wav, 1.wav, … titled 曲0, 曲1, …, each the one frame of w.bgm as its loop, written beside.
std::string writeDefinition(const TempFolder& folder, int pieces)
{
    std::string text = "[album]\r\ntitle=出力の試験\r\n";
    for (int n = 0; n < pieces; ++n)
        text += "[music" + std::to_string(10000 + n).substr(1) + "]\r\nfile=" + std::to_string(n) + ".wav\r\ntitle=曲" +
                std::to_string(n) + "\r\nwave_file=w.bgm\r\nwave_size=4\r\nloop_size=4\r\n";
    writeFileBytes(folder.file("w.bgm"), "\x01\x02\x03\x04");
    writeFileBytes(folder.file("x.mrl"), text);
    return folder.file("x.mrl");
}

// The names of a folder's files in order, each followed by "|".
std::string namesIn(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& item : std::filesystem::directory_iterator(std::filesystem::u8path(folder)))
        names.insert(item.path().filename().u8string());
    std::string joined;
    for (const std::string& name : names)
        joined += name + "|";
    return joined;
}

// The open dialog's caption and its filter's names, as the user reads them.
std::string openDialogTexts(HWND dialog)
{
    std::string texts = windowText(dialog);
    const HWND filter = GetDlgItem(dialog, cmb1);
    for (int item = 0; item < SendMessageW(filter, CB_GETCOUNT, 0, 0); ++item) {
        wchar_t text[256] = {};
        SendMessageW(filter, CB_GETLBTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(text));
        texts += "|" + utf8FromWide(text);
    }
    return texts;
}

// The control of this id in a window of this class cannot be made while it is set, as on a system
// short of resources.
struct RefusedControl {
    const char* windowClass;
    int id;
};
const RefusedControl* refused = nullptr;

LRESULT CALLBACK refuseCreation(int code, WPARAM wParam, LPARAM lParam)
{
    char parentClass[64] = {};
    if (code == HCBT_CREATEWND && refused) {
        const CREATESTRUCTW& creation = *reinterpret_cast<const CBT_CREATEWNDW*>(lParam)->lpcs;
        if (creation.hwndParent && GetClassNameA(creation.hwndParent, parentClass, sizeof parentClass) &&
            std::string(parentClass) == refused->windowClass &&
            reinterpret_cast<UINT_PTR>(creation.hMenu) == static_cast<UINT_PTR>(refused->id))
            return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Destroys the version window outright, without its close handling.
void CALLBACK destroyVersionWindow(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (const HWND version = findWindow("morlo_version")) {
        KillTimer(nullptr, timer);
        DestroyWindow(version);
    }
}

} // namespace

TEST(MainWindow, ShowsWhatItOpensFollowsTicksAndNumbersAndWritesTheTickedPieces)
{
    TempFolder folder, core, out;
    const std::string definitionPath = writeDefinition(folder, 3);
    LoopDefinition definition;
    WaveFileWriter wave;
    TerminalFrontEnd yesToAll(0, TerminalFrontEnd::Existing::ReplaceAll, folder.path(), wave);
    OutputOptions threeLoopsFullFade; // a fade of 1 s through the loop of one frame
    threeLoopsFullFade.loopCount = 3;
    threeLoopsFullFade.fadeSeconds = 1;
    threeLoopsFullFade.outputFolder = core.path();
    threeLoopsFullFade.bgmFolder = folder.path();
    threeLoopsFullFade.choices = {true, true, true};
    ASSERT_TRUE(definition.load(definitionPath));
    ASSERT_EQ(convertPieces(definition, threeLoopsFullFade, {0, 1, 2}, yesToAll).successes, 3u);
    writeFileBytes(out.file("1.wav"), "older");
    writeFileBytes(out.file("2.wav"), "older");

    MainWindow mainWindow;
    EXPECT_TRUE(runMainWindow(mainWindow, [&](HWND window) {
        const HWND list = GetDlgItem(window, musicListId);
        EXPECT_EQ(shownAround(window), (Shown{"morlo", "", "2", "10", "", 0, "---"}));
        EXPECT_EQ(columnTitles(list) + windowText(GetDlgItem(window, loopCountLabelId)) + "|" +
                      windowText(GetDlgItem(window, fadeSecondsLabelId)),
                  u8"タイトル|時間|出力サイズ|出力ファイル名|入力ファイル名|ループ回数|フェード秒数");

        // By hand, at 2 loops and 10 seconds: row 0 is 1,000,000 + 2 × 10,000,000 + 1,764,000 + 46 bytes
        // at 176,400 a second; row 1 is 100,000 + 2 × 300,000 + 300,000 (the fade, cut to the loop) + 46
        // at 44,100; row 2 has 0 bits a sample, so no fade and no time: 200 + 2 × 800 + 46.
        // After a longer title the label shows the short one alone, as a full repaint draws it.
        writeFileBytes(folder.file("long.mrl"), "[album]\r\ntitle=星降る丘のワルツ オリジナル・サウンドトラック\r\n");
        dropFiles(window, {folder.file("long.mrl")});
        dropFiles(window, {fixturePath("main_window_three.mrl"), fixturePath("main_window_other.mrl")});
        EXPECT_EQ(shownAround(window),
                  (Shown{u8"morlo - 三曲集", u8"三曲集", "2", "10", u8"合計時間 : 2:31 合計サイズ :  23,765,938", 3, "---"}));
        // The controls share one font, which has every character they show on any system.
        const auto text = [window](int id) { return windowText(GetDlgItem(window, id)); };
        EXPECT_EQ(missingGlyphs(list, columnTitles(list) + itemText(list, 0, 0) + itemText(list, 2, 0) +
                                          text(albumLabelId) + text(loopCountLabelId) + text(fadeSecondsLabelId) +
                                          statusText(GetDlgItem(window, statusBarId))),
                  "");
        UpdateWindow(window);
        EXPECT_EQ(shownAsRepainted(window, GetDlgItem(window, albumLabelId)), "as repainted");
        const Texts twoLoops = {"2:09| 22,764,046", "0:22|  1,000,046", "--:--|  1,846"};
        EXPECT_EQ(listShown(window), threePieces("xxx", twoLoops, "2:31| 23,765,938"));

        // The first row's check box by the space bar; a refused file, a folder or a device then
        // changes nothing, and nothing waits on them.
        ListView_SetItemState(list, 0, LVIS_FOCUSED, LVIS_FOCUSED);
        SendMessageW(list, WM_KEYDOWN, VK_SPACE, 0);
        const std::string refused = fixturePath("main_window_refused.mrl"), nul = "\\\\.\\NUL", zero = "Z:\\dev\\zero";
        for (const std::string& path : {refused, folder.path(), nul, zero})
            dropFiles(window, {path});
        EXPECT_EQ(windowText(window), u8"morlo - 三曲集");
        EXPECT_EQ(listShown(window), threePieces("-xx", twoLoops, "0:22|  1,001,892"));

        // The totals stay drawn whatever the window's size becomes.
        const std::pair<const char*, std::function<void()>> sizes[] = {
            {"resized", [window] { SetWindowPos(window, nullptr, 0, 0, 600, 420, SWP_NOMOVE | SWP_NOZORDER); }},
            {"maximised", [window] { ShowWindow(window, SW_MAXIMIZE); }},
            {"minimised", [window] { ShowWindow(window, SW_MINIMIZE); }},
            {"restored maximised", [window] { ShowWindow(window, SW_RESTORE); }},
            {"restored to its size", [window] { ShowWindow(window, SW_RESTORE); }}};
        for (const auto& [change, apply] : sizes) {
            apply();
            drainMessages();
            if (IsIconic(window))
                continue; // nothing is drawn until it is restored
            EXPECT_EQ(shownAsRepainted(window, GetDlgItem(window, statusBarId)), "as repainted") << change;
        }

        const std::tuple<int, std::string, const char*, const char*> commands[] = {
            {2, u8"選択反転(&R)", "x--", "2:09| 22,764,046"}, {0, u8"全て選択(&A)", "xxx", "2:31| 23,765,938"},
            {1, u8"全て解除(&U)", "---", "0:00|  0"}, {2, u8"選択反転(&R)", "xxx", "2:31| 23,765,938"}};
        for (const auto& [item, text, ticks, totals] : commands) {
            EXPECT_EQ(choose(window, 1, item), text);
            EXPECT_EQ(listShown(window), threePieces(ticks, twoLoops, totals)) << text;
        }

        // Typed key by key over all of the loop count; above 999 counts as 999, empty as 0. At n loops
        // the data is 2,764,000 + n × 10,000,000 bytes in row 0 (past 4 GiB at 999), 400,000 + n × 300,000
        // in row 1 and 200 + n × 800 in row 2.
        SendDlgItemMessageW(window, loopCountFieldId, EM_SETSEL, 0, -1);
        const std::tuple<char, Texts, const char*> typed[] = { // 0, 1, 15, 150 and 1500 loops
            {'\b', {"0:15|  2,764,046", "0:09|400,046", "--:--|246"}, "0:24|  3,164,338"},
            {'1', {"1:12| 12,764,046", "0:15|700,046", "--:--|  1,046"}, "1:27| 13,465,138"},
            {'5', {"14:26|152,764,046", "1:51|  4,900,046", "--:--| 12,246"}, "16:17|157,676,338"},
            {'0', {"2:21:59|1,502,764,046", "17:09| 45,400,046", "--:--|120,246"}, "2:39:08|1,548,284,338"},
            {'0', {u8"--:--|出力不可", "1:53:24|300,100,046", "--:--|799,446"}, "1:53:24|300,899,492"}};
        for (const auto& [key, figures, totals] : typed) {
            SendDlgItemMessageW(window, loopCountFieldId, WM_CHAR, static_cast<WPARAM>(key), 0);
            EXPECT_EQ(listShown(window), threePieces("xxx", figures, totals))
                << windowText(GetDlgItem(window, loopCountFieldId));
        }
        // The arrows (the keyboard's, in the field) stop at 0 and 999.
        for (const auto& [before, key, after] : {std::tuple{L"998", VK_UP, "999"}, {L"999", VK_UP, "999"},
                                                 {L"1", VK_DOWN, "0"}, {L"0", VK_DOWN, "0"}}) {
            SetDlgItemTextW(window, fadeSecondsFieldId, before);
            SendDlgItemMessageW(window, fadeSecondsFieldId, WM_KEYDOWN, key, 0);
            EXPECT_EQ(windowText(GetDlgItem(window, fadeSecondsFieldId)), after) << before;
        }
        EXPECT_EQ(listShown(window), threePieces("xxx", {u8"--:--|出力不可", "1:53:18|299,800,046", "--:--|799,446"},
                                                 "1:53:18|300,599,492"));

        // Each option turns its check mark over and the sizes follow; the runs below write all three.
        // Tags add a LIST chunk of 78 bytes (8 + "INFO" + title 6 + 1 and album 6 + 1, each padded to
        // 8 behind its 8-byte header, track "1" 2 + 8, "morlo ver.1.01" 15 + 1 + 8) and an id3 chunk of
        // 72 (8 + 10 + title and album 10 + 1 + 9 UTF-8 bytes each, "1/3" 10 + 1 + 3); row 2's title of 8
        // bytes (12 in UTF-8) makes them 80 and 76. Loop points add a smpl chunk of 8 + 60, none in row 2,
        // which has no frames. The full fade makes row 1's fade all 10 s, 441,000 bytes.
        SetDlgItemTextW(window, loopCountFieldId, L"2");
        SetDlgItemTextW(window, fadeSecondsFieldId, L"10");
        const Texts tags = {"2:09| 22,764,196", "0:22|  1,000,196", "--:--|  2,002"},
                    tagsLoop = {"2:09| 22,764,264", "0:22|  1,000,264", "--:--|  2,002"},
                    all = {"2:09| 22,764,264", "0:25|  1,141,264", "--:--|  2,002"},
                    loopFullFade = {"2:09| 22,764,114", "0:25|  1,141,114", "--:--|  1,846"},
                    loop = {"2:09| 22,764,114", "0:22|  1,000,114", "--:--|  1,846"};
        const std::tuple<int, std::string, std::string, Texts, const char*> options[] = {
            {0, u8"タグを書き込む(&T)", "T--", tags, "2:31| 23,766,394"},
            {1, u8"ループ位置を書き込む(&L)", "TL-", tagsLoop, "2:31| 23,766,530"},
            {2, u8"フェードを最後まで(&F)", "TLF", all, "2:34| 23,907,530"},
            {0, u8"タグを書き込む(&T)", "-LF", loopFullFade, "2:34| 23,907,074"},
            {2, u8"フェードを最後まで(&F)", "-L-", loop, "2:31| 23,766,074"},
            {0, u8"タグを書き込む(&T)", "TL-", tagsLoop, "2:31| 23,766,530"},
            {2, u8"フェードを最後まで(&F)", "TLF", all, "2:34| 23,907,530"}};
        for (const auto& [item, text, checks, figures, totals] : options) {
            EXPECT_EQ(choose(window, 2, item), text);
            EXPECT_EQ(shownAround(window).checks, checks);
            EXPECT_EQ(listShown(window), threePieces("xxx", figures, totals)) << checks;
        }

        dropFiles(window, {definitionPath});
        SetDlgItemTextW(window, loopCountFieldId, L"3");
        SetDlgItemTextW(window, fadeSecondsFieldId, L"1");
        Answers closed, cancelledInPieceZero, oneYes;
        closed.confirm = false;
        cancelledInPieceZero.cancelAt = u8"曲0を出力中";
        oneYes.yeses = 1;
        EXPECT_EQ(writeWaves(window, folder.path(), out.path(), closed), Texts{"nothing seen"});
        EXPECT_EQ(writeWaves(window, folder.path(), out.path(), cancelledInPieceZero),
                  (Texts{u8"w.bgmから0.wavを読み込み中", u8"曲0を出力中"}));
        ListView_SetCheckState(list, 0, FALSE);
        EXPECT_EQ(writeWaves(window, folder.path(), out.path(), oneYes),
                  (Texts{u8"w.bgmから1.wavを読み込み中", u8"曲1を出力中", out.file("1.wav") + u8"は存在します\n上書きしますか？",
                         u8"w.bgmから2.wavを読み込み中", u8"曲2を出力中", out.file("2.wav") + u8"は存在します\n上書きしますか？",
                         u8"出力終了(成功:1個 失敗:1個)", u8"閉じる 11/11"}));
        // With 176,400 bytes of fade behind the loops of 4 bytes, as the options asked.
        EXPECT_TRUE(readFileBytes(out.file("1.wav")) == readFileBytes(core.file("1.wav")));
        EXPECT_EQ(readFileBytes(out.file("2.wav")), "older");

        // 66 pieces of 999 loops (typed as more), each loop a step: 66 × (999 + 2) + 1 steps in all;
        // 1.wav and 2.wav are kept, the unticked 0.wav is written now.
        dropFiles(window, {writeDefinition(folder, 66)});
        SetDlgItemTextW(window, loopCountFieldId, L"1500");
        const Texts many = writeWaves(window, folder.path(), out.path(), Answers{});
        EXPECT_EQ(many.size() < 2 ? many : Texts(many.end() - 2, many.end()),
                  (Texts{u8"出力終了(成功:64個 失敗:2個)", u8"閉じる 66067/66067"}));

        // The list's menu: over the focused row for the keyboard, else where the mouse was, left monitors too.
        const POINT left = contextMenuPoint(MAKELPARAM(-1280, -200), {});
        EXPECT_EQ(std::make_pair(left.x, left.y), std::make_pair(-1280L, -200L));
        RECT menu = {}, row = {};
        std::string version, chosen;
        const UserPart part = [&](const CWPSTRUCT& sent) {
            if (sent.message == WM_ENTERIDLE && sent.wParam == MSGF_MENU) {
                GetWindowRect(findWindow("#32768"), &menu);
                EndMenu();
            } else if (sent.message == WM_SHOWWINDOW && sent.wParam && sent.hwnd == findWindow("morlo_version")) {
                version = windowText(GetDlgItem(sent.hwnd, versionTextId));
                postCommand(sent.hwnd, versionOkButtonId);
            }
        };
        ListView_SetItemState(list, 1, LVIS_FOCUSED, LVIS_FOCUSED);
        withUser(part, [&] {
            SendMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), -1);
            chosen = choose(window, 3, 0);
        });
        ListView_GetItemRect(list, 1, &row, LVIR_BOUNDS);
        MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&row), 2);
        EXPECT_TRUE(PtInRect(&row, {menu.left, menu.top})) << menu.left << "," << menu.top << " " << row.top;
        EXPECT_EQ(chosen, u8"バージョン情報(&A)");
        EXPECT_EQ(version, "morlo ver.1.01");
        EXPECT_TRUE(IsWindowEnabled(window));
    }));
}

TEST(MainWindow, TakesPathsOfAnyCharactersFromTheOpenDialogTheDropTheFolderFieldsAndTheFolderBrowser)
{
    TempFolder root, core;
    // Each a folder with a look-alike beside it whose name a code page would give instead.
    const std::string bgm = root.file(u8"BGM 曲é🎵𠮷"), out = root.file(u8"outé"), lookAlikeOut = root.file("oute");
    const std::string definition = root.file(u8"定義é") + "\\x.mrl", lookAlike = root.file(u8"定義e") + "\\x.mrl";
    for (const std::string& folder : {bgm, out, lookAlikeOut, root.file(u8"定義é"), root.file(u8"定義e")})
        ASSERT_TRUE(std::filesystem::create_directory(std::filesystem::u8path(folder))) << folder;
    writeFileBytes(definition, "[album]\r\ntitle=本物\r\n");
    writeFileBytes(lookAlike, "[album]\r\ntitle=似た名前\r\n");
    const std::string pieces = writeDefinition(root, 2);
    writeFileBytes(bgm + "\\w.bgm", "\x01\x02\x03\x04");
    // The files the window must write: the core's at the fields' 2 loops and 10 seconds.
    LoopDefinition written;
    WaveFileWriter wave;
    TerminalFrontEnd yesToAll(0, TerminalFrontEnd::Existing::ReplaceAll, root.path(), wave);
    OutputOptions options;
    options.bgmFolder = bgm;
    options.outputFolder = core.path();
    ASSERT_TRUE(written.load(pieces));
    ASSERT_EQ(convertPieces(written, options, {0, 1}, yesToAll).successes, 2u);

    MainWindow mainWindow;
    EXPECT_TRUE(runMainWindow(mainWindow, [&](HWND window) {
        std::string dialogTexts;
        const std::wstring typed = wideFromUtf8(definition);
        const UserPart part = [&](const CWPSTRUCT& sent) {
            if (sent.message == WM_SHOWWINDOW && sent.wParam && sent.hwnd == findWindow("#32770")) {
                dialogTexts = openDialogTexts(sent.hwnd);
                SendMessageW(sent.hwnd, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(typed.c_str()));
                postCommand(sent.hwnd, IDOK);
            }
        };
        std::string chosen;
        withUser(part, [&] { chosen = choose(window, 0, 0); });
        EXPECT_EQ(chosen + "|" + dialogTexts, u8"定義ファイルを開く(&O)|ファイルを開く|ループ定義ファイル(*.mrl)|全て(*.*)");
        // The definition itself, never its look-alike.
        EXPECT_EQ(windowText(window), u8"morlo - 本物");

        dropFiles(window, {pieces});
        EXPECT_EQ(windowText(window), u8"morlo - 出力の試験");
        const Texts wroteBoth = {u8"w.bgmから0.wavを読み込み中", u8"曲0を出力中", u8"w.bgmから1.wavを読み込み中",
                                 u8"曲1を出力中", u8"出力終了(成功:2個 失敗:0個)", u8"閉じる 9/9"};
        EXPECT_EQ(writeWaves(window, bgm, out, Answers{}), wroteBoth);
        Answers browsedReplacing;
        browsedReplacing.browse = true;
        browsedReplacing.yeses = 2;
        const std::string question = u8"は存在します\n上書きしますか？";
        EXPECT_EQ(writeWaves(window, bgm, out, browsedReplacing),
                  (Texts{wroteBoth[0], wroteBoth[1], out + "\\0.wav" + question, wroteBoth[2], wroteBoth[3],
                         out + "\\1.wav" + question, wroteBoth[4], wroteBoth[5]}));
    }));
    EXPECT_EQ(namesIn(out) + "/" + namesIn(lookAlikeOut), "0.wav|1.wav|/");
    EXPECT_TRUE(readFileBytes(out + "\\0.wav") == readFileBytes(core.file("0.wav")));
    EXPECT_TRUE(readFileBytes(out + "\\1.wav") == readFileBytes(core.file("1.wav")));
}

// The Options menu's formats: WAVE marked at every start; FLAC and Ogg Vorbis give the output names
// their extensions and the sizes as not known before writing, and WAVE again shows all as before.
// A run writes the marked format with the checked items, asking about the file it will write.
TEST(MainWindow, WritesTheMarkedFormatUnderItsNames)
{
    TempFolder folder, core, out;
    const std::string definitionPath = writeDefinition(folder, 2);
    // The files the window must write at the fields' 2 loops and 10 seconds, with tags and loop points.
    LoopDefinition definition;
    ASSERT_TRUE(definition.load(definitionPath));
    OutputOptions options;
    options.bgmFolder = folder.path();
    options.outputFolder = core.path();
    options.choices.tags = options.choices.loopPoints = true;
    for (OutputFormat format : {OutputFormat::Flac, OutputFormat::OggVorbis}) {
        options.format = format;
        const std::unique_ptr<PieceWriter> writer = makePieceWriter(options);
        ASSERT_TRUE(writer);
        TerminalFrontEnd yesToAll(0, TerminalFrontEnd::Existing::ReplaceAll, folder.path(), *writer);
        ASSERT_EQ(convertPieces(definition, options, {0, 1}, yesToAll, *writer).successes, 2u);
    }
    writeFileBytes(out.file("1.flac"), "older");

    MainWindow mainWindow;
    EXPECT_TRUE(runMainWindow(mainWindow, [&](HWND window) {
        const HWND list = GetDlgItem(window, musicListId);
        EXPECT_EQ(formatMarks(window), "W--");
        dropFiles(window, {fixturePath("main_window_three.mrl")});
        const std::string asWave = listShown(window);
        // Row 2's samples of 0 bits are no format's.
        const Texts unknown = {u8"2:09|書くまで不明", u8"0:22|書くまで不明", u8"--:--|出力不可"};
        const std::tuple<int, std::string, const char*, std::string> formats[] = {
            {5, u8"FLAC(&C)", "-C-", threePieces("xxx", unknown, u8"2:31|書くまで不明", ".flac")},
            {6, u8"Ogg Vorbis(&V)", "--V", threePieces("xxx", unknown, u8"2:31|書くまで不明", ".ogg")},
            {4, u8"WAVE(&W)", "W--", asWave}};
        for (const auto& [item, text, marks, shown] : formats) {
            EXPECT_EQ(choose(window, 2, item), text);
            EXPECT_EQ(formatMarks(window), marks);
            EXPECT_EQ(listShown(window), shown) << marks;
        }
        // The size column shows the text whole, in characters its font has.
        choose(window, 2, 5);
        const std::wstring unknownSize = wideFromUtf8(itemText(list, 0, 2));
        EXPECT_EQ(missingGlyphs(list, itemText(list, 0, 2) + statusText(GetDlgItem(window, statusBarId))), "");
        EXPECT_LE(ListView_GetStringWidth(list, unknownSize.c_str()) + 12, ListView_GetColumnWidth(list, 2));

        dropFiles(window, {definitionPath});
        EXPECT_EQ(itemText(list, 1, 3), "1.flac");
        choose(window, 2, 0);
        choose(window, 2, 1);
        Answers yes;
        yes.yeses = 1;
        const std::string flacQuestion = out.file("1.flac") + u8"は存在します\n上書きしますか？";
        EXPECT_EQ(writeWaves(window, folder.path(), out.path(), yes),
                  (Texts{u8"w.bgmから0.flacを読み込み中", u8"曲0を出力中", u8"w.bgmから1.flacを読み込み中", u8"曲1を出力中",
                         flacQuestion, u8"出力終了(成功:2個 失敗:0個)", u8"閉じる 9/9"}));
        EXPECT_EQ(choose(window, 2, 6), u8"Ogg Vorbis(&V)");
        EXPECT_EQ(writeWaves(window, folder.path(), out.path(), Answers{}),
                  (Texts{u8"w.bgmから0.oggを読み込み中", u8"曲0を出力中", u8"w.bgmから1.oggを読み込み中", u8"曲1を出力中",
                         u8"出力終了(成功:2個 失敗:0個)", u8"閉じる 9/9"}));
    }));
    EXPECT_EQ(namesIn(out.path()), "0.flac|0.ogg|1.flac|1.ogg|");
    for (const char* name : {"0.flac", "1.flac", "0.ogg", "1.ogg"})
        EXPECT_TRUE(readFileBytes(out.file(name)) == readFileBytes(core.file(name))) << name;
}

// Each modal window whose last control cannot be made goes at once, its command doing nothing
// more; one that goes without its close handling leaves the main window enabled too.
TEST(MainWindow, ModalWindowsThatCannotBeBuiltOrGoUnclosedLeaveTheMainWindowUsable)
{
    TempFolder folder, out;
    const std::string definitionPath = writeDefinition(folder, 1);
    MainWindow mainWindow;
    EXPECT_TRUE(runMainWindow(mainWindow, [&](HWND window) {
        dropFiles(window, {definitionPath});
        const std::pair<RefusedControl, std::function<void()>> commands[] = {
            {{"morlo_version", versionOkButtonId}, [window] { sendCommand(window, versionCommand); }},
            {{"morlo_selectdir", convertButtonId}, [window] { sendCommand(window, writeWaveCommand); }},
            {{"morlo_convert", progressBarId}, [&] {
                 EXPECT_EQ(writeWaves(window, folder.path(), out.path(), Answers{}), Texts{"nothing seen"});
             }}};
        const HHOOK hook = SetWindowsHookExW(WH_CBT, refuseCreation, nullptr, GetCurrentThreadId());
        for (const auto& [control, command] : commands) {
            refused = &control;
            command();
            refused = nullptr;
            EXPECT_FALSE(findWindow(control.windowClass)) << control.windowClass;
            EXPECT_TRUE(IsWindowEnabled(window)) << control.windowClass;
        }
        UnhookWindowsHookEx(hook);
        EXPECT_EQ(namesIn(out.path()), "");

        SetTimer(nullptr, 0, 20, destroyVersionWindow);
        sendCommand(window, versionCommand);
        EXPECT_FALSE(findWindow("morlo_version"));
        EXPECT_TRUE(IsWindowEnabled(window));
    }));
}
