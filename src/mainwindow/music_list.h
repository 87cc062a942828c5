#pragma once
// The main window's list of pieces: one row per entry of the definition, each with a check box.
// Only the ticks matter to the program; they choose the pieces that are written.
#include "definition/figures.h"
#include "definition/music_entry.h"
#include "mainwindow/context_menu_point.h"
#include "toolkit/window.h"
#include "writers/piece_writer.h"

#include <cstdint>
#include <vector>

// Operations on the list-view control held by a Window; the Window stays with its owner.
class MusicList {
public:
    explicit MusicList(const Window& control) : control_(control) {}

    // The list view with its five columns; false when the control or a column was not made.
    static bool create(Window& control, HWND parent, std::uint16_t id);

    // One ticked row per entry, in order, without output names and figures.
    void fill(const std::vector<MusicEntry>& entries) const;
    // Each row's output file name as options name it.
    void showOutputNames(const LoopDefinition& definition, const OutputOptions& options) const;
    void tickAll() const;
    void untickAll() const;
    void invertTicks() const;
    // Ascending row numbers, each also the index of its entry.
    std::vector<std::int32_t> tickedRows() const;
    // Writes the time and size cells of every row that has figures; rows beyond them are left alone.
    void showRowFigures(const std::vector<PieceFigures>& figures) const;
    // The sums of the figures over the ticked rows that have figures.
    FigureTotals tickedTotals(const std::vector<PieceFigures>& figures) const;
    // Where the keyboard's menu finds the list, on the screen.
    ListArea menuArea() const;

private:
    const Window& control_;
};

// The list's right-click menu, built anew for each request and destroyed when it closes.
void showMusicListMenu(HWND owner, POINT place);
