#include "mainwindow/main_window.h"

#include "mainwindow/music_list.h"
#include "platform/win32/wide_text.h"
#include "toolkit/controls.h"
#include "toolkit/menu_builder.h"
#include "writers/piece_writer.h"

namespace {

// Many rows change at once: the list is not redrawn, and the main window does not follow each
// row, until the batch ends and the caller brings figures and totals up to date once.
class RowBatch {
public:
    RowBatch(const Window& list, bool& changing) : list_(list), changing_(changing)
    {
        changing_ = true;
        setRedraw(list_, false);
    }
    ~RowBatch()
    {
        setRedraw(list_, true);
        changing_ = false;
    }
    RowBatch(const RowBatch&) = delete;
    RowBatch& operator=(const RowBatch&) = delete;

private:
    const Window& list_;
    bool& changing_;
};

} // namespace

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
    {
        const RowBatch batch(*list, changingRows_);
        MusicList(*list).fill(definition_.entries());
    }
    updateFigures(window);
    SetWindowTextW(window, wideFromShiftJis("morlo - " + definition_.albumTitle()).c_str());
    if (Window* label = albumLabel()) {
        setText(*label, definition_.albumTitle().c_str());
        redrawOverParent(*label);
    }
}

void MainWindow::updateFigures(HWND window)
{
    Window* list = listView();
    if (!list)
        return;
    const OutputOptions options = outputOptions(window);
    const WaveFileWriter wave;
    rowFigures_.clear();
    for (std::size_t i = 0; i < definition_.entries().size(); ++i)
        rowFigures_.push_back(figuresOf(pieceToWrite(definition_, i, options), wave));
    {
        const RowBatch batch(*list, changingRows_);
        MusicList(*list).showRowFigures(rowFigures_);
    }
    updateTotals();
}

void MainWindow::updateTotals()
{
    Window* list = listView();
    Window* status = statusBar();
    if (!list || !status)
        return;
    const FigureTotals totals = MusicList(*list).tickedTotals(rowFigures_);
    setStatusText(*status, totalsText(totals.seconds, totals.bytes).c_str(), 0);
}

void MainWindow::tickChanged()
{
    if (!changingRows_)
        updateTotals();
}

void MainWindow::changeTicks(std::uint16_t command)
{
    Window* list = listView();
    if (!list)
        return;
    {
        const RowBatch batch(*list, changingRows_);
        const MusicList musicList(*list);
        if (command == tickAllCommand)
            musicList.tickAll();
        else if (command == untickAllCommand)
            musicList.untickAll();
        else
            musicList.invertTicks();
    }
    updateTotals();
}

bool MainWindow::toggleChoice(HWND window, std::uint16_t id)
{
    for (const MenuChoice& item : fileChoiceItems) {
        if (item.id != id)
            continue;
        bool& choice = choices_.*item.choice;
        choice = !choice;
        setMenuItemChecked(window, id, choice);
        updateFigures(window);
        return true;
    }
    return false;
}

OutputOptions MainWindow::outputOptions(HWND window) const
{
    OutputOptions options;
    options.loopCount = limitCount(loopCount(window));
    options.fadeSeconds = limitCount(fadeSeconds(window));
    options.choices = choices_;
    return options;
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
