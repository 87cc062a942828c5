#pragma once
// The application object: the loop definition loaded last, the Options menu's choices and format,
// and the main window's controls. One main window (class morlo_main) serves it while run() runs.
#include "definition/figures.h"
#include "definition/loop_definition.h"
#include "definition/output_options.h"
#include "mainwindow/main_controls.h"
#include "mainwindow/main_window_ids.h"
#include "toolkit/window.h"
#include "writers/piece_writer.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class MainWindow {
public:
    // Builds the main window, runs the message loop until the window is gone and tears
    // everything down. False when building failed; nothing is left on the screen then.
    bool run(HINSTANCE instance);

    // Replaces the definition only when the file is accepted, so the rows of the list and
    // the entries never disagree. The path is UTF-8.
    bool load(const std::string& path);
    const LoopDefinition& definition() const { return definition_; }

    // Shows a newly loaded definition: rows, output names, figures, caption and album label.
    void refresh(HWND window);
    // A row's figures depend on its entry and the two fields, never on the ticks: they are
    // computed here, once per row, after a load and after every change of a field.
    void updateFigures(HWND window);
    // The totals of the ticked rows from the figures kept for them: all that a tick change needs.
    void updateTotals();
    // A row's tick changed; while a fill or a tick command changes many rows, their totals wait
    // for its end.
    void tickChanged();
    // "全て選択", "全て解除" or "選択反転", with the totals summed once at the end.
    void changeTicks(std::uint16_t command);
    // An item of the Options menu was chosen: its choice and check mark turn over, and the
    // figures follow. False when id is no such item.
    bool toggleChoice(HWND window, std::uint16_t id);
    // A format item of the Options menu was chosen: it takes the mark, and the output names, the
    // figures and the next run follow its format. False when id is no such item.
    bool chooseFormat(HWND window, std::uint16_t id);
    // The run's options as the two fields and the Options menu set them, format included, without
    // folders.
    OutputOptions outputOptions(HWND window) const;
    // The numbers in the two fields; 0 when a field holds no valid number.
    static std::int32_t loopCount(HWND window);
    static std::int32_t fadeSeconds(HWND window);

    // The controls that the window's procedure and the commands reach. The procedure serves the
    // object only once they all exist.
    const Window& listView() const { return controls_.musicList; }
    const Window& statusBar() const { return controls_.statusBar; }

private:
    LoopDefinition definition_;
    FileChoices choices_; // the Options menu's check marks
    OutputFormat format_ = OutputFormat::Wave;
    std::unique_ptr<PieceWriter> writer_ = std::make_unique<WaveFileWriter>(); // format_'s, for the figures
    MainControls controls_;
    std::vector<PieceFigures> rowFigures_; // what each row shows, for the fields as they are
    bool changingRows_ = false;
};

// The main window's procedure. A second window of the class is refused; the first serves nothing
// until serveMainWindow hands it its object, whose controls then all exist, and serves that
// object until the window is gone.
LRESULT CALLBACK mainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void serveMainWindow(HWND window, MainWindow& object);
