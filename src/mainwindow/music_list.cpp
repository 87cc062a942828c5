#include "mainwindow/music_list.h"

#include "mainwindow/main_window_ids.h"
#include "toolkit/controls.h"
#include "toolkit/menu_builder.h"

#include <commctrl.h>

namespace {

constexpr DWORD listViewStyles = LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT;
constexpr int timeColumn = 1;
constexpr int sizeColumn = 2;
constexpr int outputFileColumn = 3;
constexpr int inputFileColumn = 4;

struct Column {
    LPCSTR title;
    int alignment;
    int width;
};

const Column columns[] = {
    {"タイトル", LVCFMT_LEFT, 224},
    {"時間", LVCFMT_RIGHT, 56},
    {"出力サイズ", LVCFMT_RIGHT, 80},
    {"出力ファイル名", LVCFMT_LEFT, 128},
    {"入力ファイル名", LVCFMT_LEFT, 128},
};

// The tick commands of the Edit menu as a popup; null when it could not be made.
HMENU createMusicListMenu()
{
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return nullptr;
    for (const MenuCommand& command : tickCommands)
        appendMenuItem(menu, command.id, command.text);
    return menu;
}

} // namespace

bool MusicList::create(Window& control, HWND parent, std::uint16_t id)
{
    if (!createListView(control, listViewStyles, WS_EX_CLIENTEDGE, LVS_REPORT, 0, 0, 0, 0, parent, id))
        return false;
    int index = 0;
    for (const Column& column : columns) {
        if (!insertColumn(control, column.alignment, column.width, column.title, index++))
            return false;
    }
    return true;
}

void MusicList::fill(const std::vector<MusicEntry>& entries) const
{
    deleteAllItems(control_);
    reserveItems(control_, static_cast<int>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int row = static_cast<int>(i);
        insertItem(control_, entries[i].title.c_str(), itemCount(control_));
        setItemText(control_, entries[i].wave_file.c_str(), row, inputFileColumn);
        setItemChecked(control_, row, true);
    }
}

void MusicList::showOutputNames(const LoopDefinition& definition, const OutputOptions& options) const
{
    for (int row = 0; row < itemCount(control_) && static_cast<std::size_t>(row) < definition.entries().size(); ++row)
        setItemText(control_, outputName(pieceToWrite(definition, static_cast<std::size_t>(row), options)).c_str(), row,
                    outputFileColumn);
}

void MusicList::tickAll() const
{
    for (int row = 0; row < itemCount(control_); ++row)
        setItemChecked(control_, row, true);
}

void MusicList::untickAll() const
{
    for (int row = 0; row < itemCount(control_); ++row)
        setItemChecked(control_, row, false);
}

void MusicList::invertTicks() const
{
    for (int row = 0; row < itemCount(control_); ++row)
        setItemChecked(control_, row, !isItemChecked(control_, row));
}

std::vector<std::int32_t> MusicList::tickedRows() const
{
    std::vector<std::int32_t> rows;
    rows.reserve(static_cast<std::size_t>(itemCount(control_)));
    for (int row = 0; row < itemCount(control_); ++row) {
        if (isItemChecked(control_, row))
            rows.push_back(row);
    }
    return rows;
}

void MusicList::showRowFigures(const std::vector<PieceFigures>& figures) const
{
    for (int row = 0; row < itemCount(control_) && static_cast<std::size_t>(row) < figures.size(); ++row) {
        const PieceFigures& piece = figures[static_cast<std::size_t>(row)];
        setItemText(control_, pieceTimeText(piece).c_str(), row, timeColumn);
        setItemText(control_, pieceSizeText(piece).c_str(), row, sizeColumn);
    }
}

FigureTotals MusicList::tickedTotals(const std::vector<PieceFigures>& figures) const
{
    FigureTotals totals;
    for (int row = 0; row < itemCount(control_) && static_cast<std::size_t>(row) < figures.size(); ++row) {
        if (isItemChecked(control_, row))
            totals.add(figures[static_cast<std::size_t>(row)]);
    }
    return totals;
}

ListArea MusicList::menuArea() const
{
    ListArea area;
    HWND list = control_.handle();
    GetClientRect(list, &area.client);
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&area.client), 2);
    const int row = focusedItem(control_);
    area.hasFocusedRow = row >= 0 && itemBounds(control_, row, area.focusedRow);
    if (area.hasFocusedRow)
        MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&area.focusedRow), 2);
    return area;
}

void showMusicListMenu(HWND owner, POINT place)
{
    HMENU menu = createMusicListMenu();
    if (!menu)
        return;
    TrackPopupMenu(menu, 0, place.x, place.y, 0, owner, nullptr);
    DestroyMenu(menu);
}
