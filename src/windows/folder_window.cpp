#include "windows/folder_window.h"

#include "platform/win32/wide_text.h"
#include "toolkit/controls.h"
#include "toolkit/modal_window.h"
#include "windows/browse_folder.h"
#include "windows/folder_window_ids.h"

namespace {

// The showing whose window exists, and its window.
FolderWindow* shownFolderWindow = nullptr;
HWND shownWindow = nullptr;

// The field's text as UTF-8; false when it holds half of a surrogate pair, which names no folder.
bool fieldText(HWND window, int id, std::string& text)
{
    std::wstring wide(static_cast<std::size_t>(GetWindowTextLengthW(GetDlgItem(window, id))) + 1, L'\0');
    wide.resize(GetDlgItemTextW(window, id, wide.data(), static_cast<int>(wide.size())));
    text = utf8FromWide(wide);
    return wide.empty() || !text.empty();
}

void browseInto(HWND window, int fieldId, LPCSTR title)
{
    std::wstring folder;
    if (browseForFolder(window, title, folder))
        SetDlgItemTextW(window, fieldId, folder.c_str());
}

} // namespace

bool FolderWindow::show(HWND owner)
{
    const ModalWindowLayout layout{"morlo_selectdir", "フォルダの指定", procedure, 320, 128};
    // Open before the window exists, so that its destruction at any moment ends the wait.
    state_ = State::Open;
    WindowClass windowClass;
    Window window;
    if (!openModalWindow(windowClass, window, owner, layout, this))
        return false;
    const HWND parent = window.handle();
    Window bgmLabel;
    Window outputLabel;
    Window bgmField;
    Window outputField;
    Window bgmBrowse;
    Window outputBrowse;
    Window cancelButton;
    Window convertButton;
    const bool built =
        createStatic(bgmLabel, 0, "BGMフォルダ", SS_LEFT, 8, 8, 128, 16, parent, bgmLabelId) &&
        createStatic(outputLabel, 0, "出力フォルダ", SS_LEFT, 8, 48, 128, 16, parent, outputLabelId) &&
        createEdit(bgmField, WS_EX_CLIENTEDGE, "C:\\", ES_LEFT, 8, 22, 286, 20, parent, bgmFieldId) &&
        createEdit(outputField, WS_EX_CLIENTEDGE, "C:\\", ES_LEFT, 8, 62, 286, 20, parent, outputFieldId) &&
        createButton(bgmBrowse, 0, "...", BS_PUSHBUTTON, 294, 22, 20, 20, parent, bgmBrowseButtonId) &&
        createButton(outputBrowse, 0, "...", BS_PUSHBUTTON, 294, 62, 20, 20, parent, outputBrowseButtonId) &&
        createButton(cancelButton, 0, "キャンセル", BS_PUSHBUTTON, 236, 96, 78, 20, parent, cancelButtonId) &&
        createButton(convertButton, 0, "変換", BS_PUSHBUTTON, 158, 96, 78, 20, parent, convertButtonId);
    if (!built) {
        closeModalWindow(parent);
        return false;
    }
    ShowWindow(parent, SW_SHOWNORMAL);
    waitForModalWindow(owner, state_, State::Open);
    return state_ == State::Confirmed;
}

LRESULT CALLBACK FolderWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return onCreate(window, *reinterpret_cast<const CREATESTRUCTW*>(lParam));
    case WM_DESTROY:
        return onDestroy(window);
    case WM_CLOSE:
        closeModalWindow(window);
        return 0;
    case WM_COMMAND:
        return onCommand(window, wParam, lParam);
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT FolderWindow::onCreate(HWND window, const CREATESTRUCTW& creation)
{
    // One settings window at a time.
    if (shownFolderWindow)
        return -1;
    shownFolderWindow = static_cast<FolderWindow*>(creation.lpCreateParams);
    shownWindow = window;
    return 0;
}

LRESULT FolderWindow::onDestroy(HWND window)
{
    // A refused second window is destroyed as well; it must not end the showing that exists.
    if (window != shownWindow)
        return 0;
    if (shownFolderWindow && shownFolderWindow->state_ == State::Open)
        shownFolderWindow->state_ = State::Cancelled;
    shownFolderWindow = nullptr;
    shownWindow = nullptr;
    return 0;
}

LRESULT FolderWindow::onCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    switch (wParam) {
    case bgmBrowseButtonId:
        browseInto(window, bgmFieldId, "BGMフォルダの指定");
        return 0;
    case outputBrowseButtonId:
        browseInto(window, outputFieldId, "出力フォルダの指定");
        return 0;
    case cancelButtonId:
        if (shownFolderWindow)
            shownFolderWindow->cancel(window);
        return 0;
    case convertButtonId:
        if (shownFolderWindow)
            shownFolderWindow->confirm(window);
        return 0;
    default:
        return DefWindowProcW(window, WM_COMMAND, wParam, lParam);
    }
}

void FolderWindow::confirm(HWND window)
{
    // A folder that cannot be named exactly is not replaced by a look-alike: the window stays.
    if (!fieldText(window, bgmFieldId, bgmFolder_) || !fieldText(window, outputFieldId, outputFolder_)) {
        MessageBeep(MB_ICONWARNING);
        return;
    }
    state_ = State::Confirmed;
    SendMessageW(window, WM_CLOSE, 0, 0);
}

void FolderWindow::cancel(HWND window)
{
    state_ = State::Cancelled;
    SendMessageW(window, WM_CLOSE, 0, 0);
}
