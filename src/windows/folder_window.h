#pragma once
// The output-settings window (class morlo_selectdir): asks for the BGM folder and the output
// folder. One object serves one showing.
#include <windows.h>

#include <string>

class FolderWindow {
public:
    // Blocks until the window is gone. True when the user pressed "変換"; the two folders then
    // hold the fields' texts exactly as they stood, in UTF-8. While a field holds a text that
    // UTF-8 cannot carry (half of a surrogate pair), "変換" only beeps. False too when the window
    // could not be made.
    bool show(HWND owner);

    const std::string& bgmFolder() const { return bgmFolder_; }
    const std::string& outputFolder() const { return outputFolder_; }

private:
    enum class State { Open, Cancelled, Confirmed };

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT onCreate(HWND window, const CREATESTRUCTW& creation);
    static LRESULT onDestroy(HWND window);
    static LRESULT onCommand(HWND window, WPARAM wParam, LPARAM lParam);
    void confirm(HWND window);
    void cancel(HWND window);

    std::string bgmFolder_;
    std::string outputFolder_;
    State state_ = State::Open;
};
