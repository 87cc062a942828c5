#include "convert_window_driver.h"

#include "convert/convert_window.h"

#include <commctrl.h>

#include <cstdio>

namespace {

ConversionDriver* activeDriver = nullptr;

// The message box keeps its text in a static control of this id.
constexpr int messageBoxTextId = 0xFFFF;

void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (activeDriver)
        activeDriver->poll();
}

LRESULT CALLBACK onWindowMessage(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && activeDriver && call->message == WM_SETTEXT && GetDlgCtrlID(call->hwnd) == 1024)
        activeDriver->statusTextSet(call->hwnd, reinterpret_cast<const char*>(call->lParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::string windowText(HWND window)
{
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

bool isProgressWindow(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return std::string(name) == "morlo_convert";
}

class YesFrontEnd : public ConversionFrontEnd {
public:
    void step() override {}
    void yieldOnce() override {}
    bool isCancelled() override { return false; }
    void showReading(const MusicEntry&) override {}
    void showWriting(const MusicEntry&) override {}
    bool confirmOverwrite(const std::string&) override { return true; }
    void pieceFailed(const MusicEntry&, PieceFailure) override {}
};

} // namespace

ConversionDriver::ConversionDriver()
{
    WNDCLASSEXA ownerClass{};
    ownerClass.cbSize = sizeof ownerClass;
    ownerClass.lpfnWndProc = DefWindowProcA;
    ownerClass.hInstance = GetModuleHandleA(nullptr);
    ownerClass.lpszClassName = "morlo_test_owner";
    RegisterClassExA(&ownerClass);
    owner_ = CreateWindowExA(0, "morlo_test_owner", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 120, 80, 480, 360,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

ConversionDriver::~ConversionDriver()
{
    DestroyWindow(owner_);
    UnregisterClassA("morlo_test_owner", GetModuleHandleA(nullptr));
}

RunRecord ConversionDriver::run(const LoopDefinition& definition, const OutputOptions& options,
                                const std::vector<std::int32_t>& rows)
{
    record_ = RunRecord();
    activeDriver = this;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, onTimer);
    const HHOOK hook = hide_ ? nullptr : SetWindowsHookExA(WH_CALLWNDPROC, onWindowMessage, nullptr, GetCurrentThreadId());
    runConversion(owner_, definition, options, rows);
    if (hook)
        UnhookWindowsHookEx(hook);
    KillTimer(nullptr, timer);
    activeDriver = nullptr;
    record_.ownerEnabledAfter = IsWindowEnabled(owner_) != FALSE;
    return record_;
}

void ConversionDriver::poll()
{
    const HWND box = FindWindowA("#32770", nullptr);
    if (box && box != answeredBox_) {
        answerQuestion(box);
        return;
    }
    const HWND window = FindWindowA("morlo_convert", nullptr);
    if (!window)
        return;
    if (!IsWindowEnabled(owner_))
        record_.ownerDisabledMeanwhile = true;
    if (hide_)
        ShowWindow(window, SW_HIDE);
    if (windowText(window) == "出力終了")
        finishRun(window);
}

void ConversionDriver::statusTextSet(HWND control, const char* text)
{
    const HWND window = GetParent(control);
    if (!isProgressWindow(window))
        return;
    record_.statusTexts.push_back(text);
    if (!cancelText_.empty() && cancelText_ == text)
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(1025, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, 1025)));
}

void ConversionDriver::answerQuestion(HWND box)
{
    char text[1024] = {};
    GetDlgItemTextA(box, messageBoxTextId, text, sizeof text);
    record_.questions.push_back(text);
    record_.questionCaptions.push_back(windowText(box));
    const std::size_t asked = record_.questions.size();
    const int reply = asked <= answers_.size() ? answers_[asked - 1] : IDNO;
    answeredBox_ = box;
    PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(reply), 0);
}

void ConversionDriver::finishRun(HWND window)
{
    const HWND bar = GetDlgItem(window, 1026);
    record_.endShown = true;
    record_.endCaption = windowText(window);
    record_.endButton = windowText(GetDlgItem(window, 1025));
    record_.endStatus = windowText(GetDlgItem(window, 1024));
    record_.endPosition = static_cast<std::uint32_t>(SendMessageA(bar, PBM_GETPOS, 0, 0));
    record_.rangeMaximum = static_cast<std::uint32_t>(SendMessageA(bar, PBM_GETRANGE, FALSE, 0));
    record_.windowStyle = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    GetClientRect(window, &record_.clientArea);
    PostMessageA(window, WM_CLOSE, 0, 0);
}

MusicEntry piece(const std::string& file, const std::string& title, std::uint32_t waveStart, std::uint32_t waveSize,
                 std::uint32_t loopStart, std::uint32_t loopSize)
{
    MusicEntry entry;
    entry.file = file;
    entry.title = title;
    entry.wave_file = "bgm.bin";
    entry.wave_start = waveStart;
    entry.wave_size = waveSize;
    entry.loop_start = loopStart;
    entry.loop_size = loopSize;
    return entry;
}

bool loadDefinition(LoopDefinition& definition, const TempFolder& folder, const std::vector<MusicEntry>& entries)
{
    std::string text = "[album]\r\ntitle=変換の試験\r\n";
    for (std::size_t n = 0; n < entries.size(); ++n) {
        const MusicEntry& e = entries[n];
        char section[512];
        std::snprintf(section, sizeof section,
                      "[music%04u]\r\nfile=%s\r\ntitle=%s\r\nfmt_channels=%u\r\nfmt_samples=%u\r\nfmt_bits=%u\r\n"
                      "wave_file=%s\r\nwave_start=%u\r\nwave_size=%u\r\nloop_start=%u\r\nloop_size=%u\r\n",
                      static_cast<unsigned>(n), e.file.c_str(), e.title.c_str(), unsigned{e.fmt_channels},
                      unsigned{e.fmt_samples}, unsigned{e.fmt_bits}, e.wave_file.c_str(), unsigned{e.wave_start},
                      unsigned{e.wave_size}, unsigned{e.loop_start}, unsigned{e.loop_size});
        text += section;
    }
    const std::string path = folder.file("convert_test.mrl");
    return writeFileBytes(path, text) && definition.load(path);
}

std::string patternBytes(std::size_t size, unsigned seed)
{
    std::string bytes(size, '\0');
    std::uint32_t state = seed * 2654435761u + 1;
    for (char& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<char>(state >> 24);
    }
    return bytes;
}

ConversionCounts coreConversion(const LoopDefinition& definition, OutputOptions options, const std::string& outputFolder,
                                const std::vector<std::int32_t>& rows)
{
    options.outputFolder = outputFolder;
    YesFrontEnd frontEnd;
    return convertPieces(definition, options, rows, frontEnd);
}

std::vector<std::int32_t> allRows(std::size_t count)
{
    std::vector<std::int32_t> rows;
    for (std::size_t n = 0; n < count; ++n)
        rows.push_back(static_cast<std::int32_t>(n));
    return rows;
}
