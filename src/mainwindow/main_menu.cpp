#include "mainwindow/main_menu.h"

#include "mainwindow/main_window_ids.h"
#include "toolkit/menu_builder.h"

bool buildMainMenu(HWND window)
{
    MenuBuilder menu;
    if (!menu.createBar())
        return false;
    menu.addPopup(0, fileMenuId, "ファイル(&F)");
    menu.addItem(fileMenuId, openCommand, "定義ファイルを開く(&O)");
    menu.addItem(fileMenuId, writeWaveCommand, "WAVE出力(&S)");
    menu.addSeparator(fileMenuId, fileSeparatorId);
    menu.addItem(fileMenuId, exitCommand, "終了(&X)");
    menu.addPopup(0, editMenuId, "編集(&E)");
    for (const MenuCommand& command : tickCommands)
        menu.addItem(editMenuId, command.id, command.text);
    menu.addPopup(0, optionsMenuId, "オプション(&O)");
    for (const MenuChoice& item : fileChoiceItems)
        menu.addItem(optionsMenuId, item.id, item.text);
    menu.addSeparator(optionsMenuId, optionsSeparatorId);
    for (const FormatChoice& item : formatChoiceItems)
        menu.addItem(optionsMenuId, item.id, item.text);
    menu.addPopup(0, helpMenuId, "ヘルプ(&H)");
    menu.addItem(helpMenuId, versionCommand, "バージョン情報(&A)");
    menu.attachTo(window);
    markFormatItem(window, waveFormatCommand);
    DrawMenuBar(window);
    return true;
}

void markFormatItem(HWND window, std::uint16_t id)
{
    chooseMenuRadioItem(window, waveFormatCommand, oggVorbisFormatCommand, id);
}
