#include "mainwindow/main_menu.h"

#include "mainwindow/main_window_ids.h"

bool buildMainMenu(MenuBuilder& menu, HWND window)
{
    if (!menu.createBar())
        return false;
    menu.addPopup(0, fileMenuId, "ファイル(&F)");
    menu.addItem(fileMenuId, openCommand, "定義ファイルを開く(&O)");
    menu.addItem(fileMenuId, writeWaveCommand, "WAVE出力(&S)");
    menu.addSeparator(fileMenuId, fileSeparatorId);
    menu.addItem(fileMenuId, exitCommand, "終了(&X)");
    menu.addPopup(0, editMenuId, "編集(&E)");
    menu.addItem(editMenuId, tickAllCommand, "全て選択(&A)");
    menu.addItem(editMenuId, untickAllCommand, "全て解除(&U)");
    menu.addItem(editMenuId, invertTicksCommand, "選択反転(&R)");
    menu.addPopup(0, helpMenuId, "ヘルプ(&H)");
    menu.addItem(helpMenuId, versionCommand, "バージョン情報(&A)");
    menu.attachTo(window);
    DrawMenuBar(window);
    return true;
}
