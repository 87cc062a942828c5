#include "mainwindow/main_window.h"

#include "definition/figures.h"
#include "definition/output_options.h"
#include "mainwindow/music_list.h"
#include "toolkit/controls.h"

bool MainWindow::load(const std::string& path)
{
    LoopDefinition loaded;
    if (!loaded.load(path))
        return false;
    definition_ = std::move(loaded);
    return true;
}

void MainWindow::refresh(HWND window)
{
    Window* list = listView();
    if (!list)
        return;
    MusicList(*list).fill(definition_.entries());
    updateFigures(window);
    const std::string caption = "morlo - " + definition_.albumTitle();
    SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption.c_str()));
    if (Window* label = albumLabel())
        setText(*label, definition_.albumTitle().c_str());
}

void MainWindow::updateFigures(HWND window)
{
    Window* list = listView();
    if (!list)
        return;
    const std::uint32_t loops = limitCount(loopCount(window));
    const std::uint32_t fade = limitCount(fadeSeconds(window));
    const FigureTotals totals = MusicList(*list).updateRowFigures(definition_.entries(), loops, fade);
    if (Window* status = statusBar())
        setStatusText(*status, totalsText(totals.seconds, totals.bytes).c_str(), 0);
}

std::int32_t MainWindow::loopCount(HWND window)
{
    return static_cast<std::int32_t>(GetDlgItemInt(window, loopCountFieldId, nullptr, TRUE));
}

std::int32_t MainWindow::fadeSeconds(HWND window)
{
    return static_cast<std::int32_t>(GetDlgItemInt(window, fadeSecondsFieldId, nullptr, TRUE));
}

void MainWindow::addControl(std::uint16_t id, Window& control)
{
    controls_.emplace(id, &control);
}

Window* MainWindow::control(std::uint16_t id) const
{
    auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second;
}
