#pragma once
// The application object: the loop definition loaded last and the controls that other code
// reaches by id. One main window (class morlo_main) serves it while run() runs.
#include "definition/figures.h"
#include "definition/loop_definition.h"
#include "definition/output_options.h"
#include "mainwindow/main_window_ids.h"
#include "toolkit/window.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <map>
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

    // Shows a newly loaded definition: rows, figures, caption and album label.
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
    // The run's options as the two fields and the Options menu set them, without folders.
    OutputOptions outputOptions(HWND window) const;
    // The numbers in the two fields; 0 when a field holds no valid number.
    static std::int32_t loopCount(HWND window);
    static std::int32_t fadeSeconds(HWND window);

    // Opening a definition (by the file-open dialog or by dropping; the first file dropped) and
    // writing the WAVE files.
    void openWithDialog(HWND window);
    void openDropped(HWND window, HDROP drop);
    void writeWaveFiles(HWND window);

    // The control map holds controls that other code looks up; it does not own them.
    // A second entry under an id already present is ignored.
    void addControl(std::uint16_t id, Window& control);
    void clearControls() { controls_.clear(); }
    // Null while the control is not registered.
    Window* listView() const { return control(musicListId); }
    Window* statusBar() const { return control(statusBarId); }
    Window* albumLabel() const { return control(albumLabelId); }

private:
    Window* control(std::uint16_t id) const;

    LoopDefinition definition_;
    FileChoices choices_; // the Options menu's check marks
    std::map<std::uint16_t, Window*> controls_;
    std::vector<PieceFigures> rowFigures_; // what each row shows, for the fields as they are
    bool changingRows_ = false;
};

// The main window's procedure; it serves the MainWindow given as its creation parameter.
LRESULT CALLBACK mainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
