#pragma once
// The main window's list of pieces: one row per entry of the definition, each with a check box.
// Only the ticks matter to the program; they choose the pieces that are written.
#include "definition/music_entry.h"
#include "mainwindow/context_menu_point.h"
#include "toolkit/window.h"

#include <cstdint>
#include <vector>

struct FigureTotals {
    std::uint64_t bytes = 0;
    std::uint64_t seconds = 0;
};

// Operations on the list-view control held by a Window; the Window stays with its owner.
class MusicList {
public:
    explicit MusicList(const Window& control) : control_(control) {}

    // The list view with its five columns; false when the control or a column was not made.
    static bool create(Window& control, HWND parent, std::uint16_t id);

    // One ticked row per entry, in order.
    void fill(const std::vector<MusicEntry>& entries) const;
    void tickAll() const;
    void untickAll() const;
    void invertTicks() const;
    // Ascending row numbers, each also the index of its entry.
    std::vector<std::int32_t> tickedRows() const;
    // Writes the time and size cells of every row that has an entry and sums them over the
    // ticked ones. Rows beyond the entries are left alone.
    FigureTotals updateRowFigures(const std::vector<MusicEntry>& entries, std::uint32_t loopCount,
                                  std::uint32_t fadeSeconds) const;
    // Where the keyboard's menu finds the list, on the screen.
    ListArea menuArea() const;

private:
    const Window& control_;
};

// The list's right-click menu, built anew for each request and destroyed when it closes.
void showMusicListMenu(HWND owner, POINT place);
// The three tick commands of the Edit menu as a popup; null when it could not be made.
HMENU createMusicListMenu();
