#include "mainwindow/main_window.h"

#include "mainwindow/main_menu.h"
#include "mainwindow/music_list.h"
#include "platform/win32/wide_text.h"
#include "toolkit/controls.h"
#include "toolkit/menu_builder.h"
#include "writers/writer_for_format.h"

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
    {
        const RowBatch batch(controls_.musicList, changingRows_);
        const MusicList musicList(controls_.musicList);
        musicList.fill(definition_.entries());
        musicList.showOutputNames(definition_, outputOptions(window));
    }
    updateFigures(window);
    SetWindowTextW(window, wideFromShiftJis("morlo - " + definition_.albumTitle()).c_str());
    setText(controls_.albumLabel, definition_.albumTitle().c_str());
    redrawOverParent(controls_.albumLabel);
}

void MainWindow::updateFigures(HWND window)
{
    const OutputOptions options = outputOptions(window);
    rowFigures_.clear();
    for (std::size_t i = 0; i < definition_.entries().size(); ++i)
        rowFigures_.push_back(figuresOf(pieceToWrite(definition_, i, options), *writer_));
    {
        const RowBatch batch(controls_.musicList, changingRows_);
        MusicList(controls_.musicList).showRowFigures(rowFigures_);
    }
    updateTotals();
}

void MainWindow::updateTotals()
{
    const FigureTotals totals = MusicList(controls_.musicList).tickedTotals(rowFigures_);
    setStatusText(controls_.statusBar,
                  totalsText(totals.seconds, totals.bytes, writer_->knowsSizeBeforeWriting()).c_str(), 0);
}

void MainWindow::tickChanged()
{
    if (!changingRows_)
        updateTotals();
}

void MainWindow::changeTicks(std::uint16_t command)
{
    {
        const RowBatch batch(controls_.musicList, changingRows_);
        const MusicList musicList(controls_.musicList);
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

bool MainWindow::chooseFormat(HWND window, std::uint16_t id)
{
    for (const FormatChoice& item : formatChoiceItems) {
        if (item.id != id)
            continue;
        format_ = item.format;
        writer_ = makePieceWriter(outputOptions(window));
        markFormatItem(window, id);
        {
            const RowBatch batch(controls_.musicList, changingRows_);
            MusicList(controls_.musicList).showOutputNames(definition_, outputOptions(window));
        }
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
    options.format = format_;
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
