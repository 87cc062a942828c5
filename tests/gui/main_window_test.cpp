// The main window walked as a user does: the empty window, opening definitions, the rows and
// totals as rows are ticked and numbers typed, and the version window.
#include "definition/figures.h"
#include "main_window_driver.h"
#include "support/test_files.h"
#include "toolkit_timer_script.h"
#include "windows/version_window_ids.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::string>;
using Ticks = std::vector<bool>;

// The status bar's totals, then the five cells of each row.
Texts shown(HWND window)
{
    const HWND list = GetDlgItem(window, musicListId);
    Texts texts{statusText(GetDlgItem(window, statusBarId))};
    for (int row = 0; row < rowCount(list); ++row) {
        for (int column = 0; column < 5; ++column)
            texts.push_back(itemText(list, row, column));
    }
    return texts;
}

// The same by the core's figures, for the ticks and numbers the window should use.
Texts expected(const Ticks& ticks, std::uint32_t loops, std::uint32_t fade)
{
    LoopDefinition definition;
    EXPECT_TRUE(definition.load(fixturePath("main_window_three.mrl")));
    Texts texts{""};
    std::uint64_t seconds = 0;
    std::uint64_t bytes = 0;
    for (std::size_t n = 0; n < definition.entries().size(); ++n) {
        const MusicEntry& entry = definition.entries()[n];
        const PieceFigures figures = pieceFigures(entry, loops, fade);
        texts.insert(texts.end(),
                     {entry.title, pieceTimeText(figures), formatSize(figures.fileSize), entry.file, entry.wave_file});
        seconds += ticks.at(n) ? figures.playSeconds : 0;
        bytes += ticks.at(n) ? figures.fileSize : 0;
    }
    texts[0] = totalsText(seconds, bytes);
    return texts;
}

Ticks ticks(HWND window)
{
    const HWND list = GetDlgItem(window, musicListId);
    Ticks ticked;
    for (int row = 0; row < rowCount(list); ++row)
        ticked.push_back(ListView_GetCheckState(list, row));
    return ticked;
}

// Each menu of the bar: its own text, then the texts of its popup's items.
std::vector<Texts> menuTexts(HMENU bar)
{
    std::vector<Texts> menus;
    char text[256];
    for (int n = 0; n < GetMenuItemCount(bar); ++n) {
        GetMenuStringA(bar, n, text, sizeof text, MF_BYPOSITION);
        menus.push_back({text});
        const HMENU popup = GetSubMenu(bar, n);
        for (int item = 0; item < GetMenuItemCount(popup); ++item) {
            GetMenuStringA(popup, item, text, sizeof text, MF_BYPOSITION);
            menus.back().push_back(text);
        }
    }
    return menus;
}

// Picks an item of the edit menu or the help menu: the command its popup item carries.
void choose(HWND window, int popup, int item)
{
    sendCommand(window, static_cast<WORD>(GetMenuItemID(GetSubMenu(GetMenu(window), popup), item)));
}

} // namespace

TEST(MainWindow, ShowsTheOpenedDefinitionAndFollowsTicksAndTypedNumbers)
{
    MainWindow mainWindow;
    EXPECT_TRUE(runMainWindow(mainWindow, [&](HWND window) {
        const HWND list = GetDlgItem(window, musicListId);
        EXPECT_EQ(windowText(window), "morlo");
        EXPECT_EQ(windowText(GetDlgItem(window, loopCountFieldId)), "2");
        EXPECT_EQ(windowText(GetDlgItem(window, fadeSecondsFieldId)), "10");
        EXPECT_EQ(rowCount(list), 0);
        EXPECT_EQ(menuTexts(GetMenu(window)),
                  (std::vector<Texts>{{"ファイル(&F)", "定義ファイルを開く(&O)", "WAVE出力(&S)", "", "終了(&X)"},
                                      {"編集(&E)", "全て選択(&A)", "全て解除(&U)", "選択反転(&R)"},
                                      {"ヘルプ(&H)", "バージョン情報(&A)"}}));

        // Of several dropped files the first opens. By hand: 1,000,000 + 2 × 10,000,000 bytes, 10 s of
        // 176,400 bytes and the 46-byte header make 22,764,046 bytes, 129 s.
        dropFiles(window, {fixturePath("main_window_example.mrl"), fixturePath("main_window_other.mrl")});
        EXPECT_EQ(windowText(window), "morlo - 例のアルバム");
        EXPECT_EQ(windowText(GetDlgItem(window, albumLabelId)), "例のアルバム");
        EXPECT_EQ(shown(window), (Texts{"合計時間 : 2:09 合計サイズ :  22,764,046", "例の曲", "2:09", " 22,764,046",
                                        "example.wav", "example.bgm"}));

        dropFiles(window, {fixturePath("main_window_three.mrl")});
        EXPECT_EQ(ticks(window), (Ticks{true, true, true}));
        EXPECT_EQ(shown(window), expected({true, true, true}, 2, 10));

        // The first row's check box, by the space bar on the focused row.
        ListView_SetItemState(list, 0, LVIS_FOCUSED, LVIS_FOCUSED);
        SendMessageA(list, WM_KEYDOWN, VK_SPACE, 0);
        EXPECT_EQ(ticks(window), (Ticks{false, true, true}));
        EXPECT_EQ(shown(window), expected(ticks(window), 2, 10));
        EXPECT_EQ(statusText(GetDlgItem(window, statusBarId)), "合計時間 : 0:22 合計サイズ :   1,001,892");

        const Texts before = shown(window);
        dropFiles(window, {fixturePath("main_window_refused.mrl")});
        EXPECT_EQ(shown(window), before);
        EXPECT_EQ(windowText(window), "morlo - 三曲集");

        // 選択反転, 全て選択, 全て解除, 選択反転 from the edit menu.
        const std::pair<int, Ticks> commands[] = {
            {2, {true, false, false}}, {0, {true, true, true}}, {1, {false, false, false}}, {2, {true, true, true}}};
        for (const auto& [item, after] : commands) {
            choose(window, 1, item);
            EXPECT_EQ(ticks(window), after) << item;
            EXPECT_EQ(shown(window), expected(after, 2, 10)) << item;
        }

        // Typed key by key; the first key of a field replaces its whole text. Above 999 counts as 999.
        struct Key {
            std::uint16_t field;
            char key;
            std::uint32_t loops;
            std::uint32_t fade;
        };
        const Key keys[] = {{loopCountFieldId, '\b', 0, 10},   {loopCountFieldId, '1', 1, 10},
                            {loopCountFieldId, '5', 15, 10},   {loopCountFieldId, '0', 150, 10},
                            {loopCountFieldId, '0', 999, 10},  {fadeSecondsFieldId, '\b', 999, 0},
                            {fadeSecondsFieldId, '7', 999, 7}, {fadeSecondsFieldId, '0', 999, 70}};
        std::uint16_t lastField = 0;
        for (const Key& key : keys) {
            const HWND field = GetDlgItem(window, key.field);
            if (std::exchange(lastField, key.field) != key.field)
                SendMessageA(field, EM_SETSEL, 0, -1);
            SendMessageA(field, WM_CHAR, static_cast<WPARAM>(key.key), 0);
            EXPECT_EQ(shown(window), expected(ticks(window), key.loops, key.fade)) << key.loops << " " << key.fade;
        }

        std::string version;
        TimerScript script("morlo_version", {
            [&] {
                const HWND versionWindow = findWindow("morlo_version");
                version = windowText(GetDlgItem(versionWindow, versionTextId)) + " " +
                          windowText(GetDlgItem(versionWindow, versionOkButtonId));
                EXPECT_FALSE(IsWindowEnabled(window));
            },
            [] { postCommand(findWindow("morlo_version"), versionOkButtonId); },
            [] { ADD_FAILURE() << "OK left the version window open"; },
        });
        choose(window, 2, 0);
        EXPECT_EQ(version, "morlo ver.1.01 OK");
        EXPECT_TRUE(IsWindowEnabled(window));
    }));
}
