// How late the GUI thread handles a message while the progress window writes one piece of
// about 500 MB, and how long "キャンセル" takes until runConversion returns.
//
//   responsiveness_bench.exe [flac]
//
// A second thread posts the owner window a message every 10 ms carrying the time it was posted;
// the owner's procedure records the delay to its handling while the progress window says
// "出力中", and notes every delay above 50 ms with the status line of that moment (the three
// largest are printed). The first run is let to finish (and its window closed); the second run
// is cancelled by posting the button's command to the progress window once half the output file
// is written. With flac the piece is written as FLAC, encoded by a worker while the window's
// thread waits for it, and the second run is cancelled half the first run's time in. The files
// live in a folder under the temporary folder and are removed at the end.
#include "windows/progress_window.h"
#include "windows/progress_window_ids.h"
#include "writers/writer_for_format.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr UINT tickMessage = WM_APP + 1;
// 16-bit stereo at 44.1 kHz: a 10 s introduction and a loop of 1,400 s, written twice with a
// 10 s fade: 497,448,046 bytes of output from 248,724,000 bytes of BGM data.
constexpr std::uint32_t introBytes = 1764000;
constexpr std::uint32_t loopBytes = 246960000;
constexpr std::uint64_t outputBytes = 46ull + introBytes + 2ull * loopBytes + introBytes;

LARGE_INTEGER frequency;

double secondsSince(LONGLONG count)
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - count) / static_cast<double>(frequency.QuadPart);
}

LONGLONG counter()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

std::uint64_t fileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// One late message: how late, when in the run it was handled, and what the status line said.
struct Late {
    double delay;
    double at;
    std::string status;
};

struct Run {
    std::vector<double> delays;
    std::vector<Late> late;
    bool cancel = false; // press "キャンセル" once half the file is written, or half the time gone
    double cancelAfter = 0; // seconds into the run, when not by the file's size
    LONGLONG started = 0;
    LONGLONG pressed = 0;
};

Run* current = nullptr;
std::string outputPath;

void onTick(LPARAM posted)
{
    const double delay = secondsSince(posted);
    // Ticks posted before the run began wait for the work of the benchmark itself.
    if (current && posted < current->started)
        return;
    HWND progress = FindWindowA("morlo_convert", nullptr);
    if (!progress || !current || current->pressed)
        return;
    char caption[32] = "";
    GetWindowTextA(progress, caption, sizeof caption);
    if (std::strcmp(caption, "出力中") != 0) {
        PostMessageA(progress, WM_COMMAND, closeButtonId, 0);
        return;
    }
    current->delays.push_back(delay);
    if (delay > 0.05) {
        char status[256] = "";
        GetDlgItemTextA(progress, statusLineId, status, sizeof status);
        current->late.push_back({delay, secondsSince(current->started) - delay, status});
    }
    const bool halfway = current->cancelAfter > 0 ? secondsSince(current->started) >= current->cancelAfter
                                                  : fileSize(outputPath) >= outputBytes / 2;
    if (current->cancel && halfway) {
        current->pressed = counter();
        PostMessageA(progress, WM_COMMAND, MAKEWPARAM(closeButtonId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(progress, closeButtonId)));
    }
}

LRESULT CALLBACK ownerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == tickMessage) {
        onTick(lParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Flushed to the disk, as a BGM file is before anyone converts it: otherwise the run would
// wait for these dirty pages too.
bool writeBgm(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    // A sawtooth in both channels, so that the fade has real samples to scale.
    std::vector<std::int16_t> block(1 << 20);
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<std::int16_t>((i / 2 % 200) * 300 - 30000);
    std::uint64_t left = introBytes + static_cast<std::uint64_t>(loopBytes);
    while (left > 0) {
        DWORD bytes = static_cast<DWORD>(std::min<std::uint64_t>(left, block.size() * 2));
        DWORD written = 0;
        if (!WriteFile(file, block.data(), bytes, &written, nullptr) || written != bytes)
            break;
        left -= bytes;
    }
    const bool flushed = FlushFileBuffers(file) != 0;
    return CloseHandle(file) != 0 && flushed && left == 0;
}

bool writeDefinition(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    std::fprintf(file,
                 "[album]\r\ntitle=Bench\r\n[music0000]\r\nfile=large.wav\r\ntitle=Large\r\nfmt_channels=2\r\n"
                 "fmt_samples=44100\r\nfmt_bits=16\r\nwave_file=large.bgm\r\nwave_start=0\r\nwave_size=%u\r\n"
                 "loop_start=%u\r\nloop_size=%u\r\n",
                 introBytes + loopBytes, introBytes, loopBytes);
    return std::fclose(file) == 0;
}

void report(const char* name, const Run& run)
{
    std::vector<double> delays = run.delays;
    if (delays.empty()) {
        std::printf("%s: no ticks\n", name);
        return;
    }
    std::sort(delays.begin(), delays.end());
    std::printf("%s: %zu ticks, delay median %.1f ms, 99th percentile %.1f ms, maximum %.1f ms\n", name,
                delays.size(), delays[delays.size() / 2] * 1000, delays[delays.size() * 99 / 100] * 1000,
                delays.back() * 1000);
    std::vector<Late> late = run.late;
    std::sort(late.begin(), late.end(), [](const Late& a, const Late& b) { return a.delay > b.delay; });
    std::printf("  %zu ticks over 50 ms\n", late.size());
    late.resize(std::min<std::size_t>(late.size(), 3));
    for (const Late& item : late)
        std::printf("  %.0f ms late, posted %.2f s into the run, status \"%s\"\n", item.delay * 1000, item.at,
                    item.status.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    const bool flac = argc > 1 && std::strcmp(argv[1], "flac") == 0;
    QueryPerformanceFrequency(&frequency);
    char temp[MAX_PATH];
    if (!GetTempPathA(MAX_PATH, temp))
        return 1;
    const std::string folder = std::string(temp) + "morlo_responsiveness";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string definitionPath = folder + "\\bench.mrl";
    const std::string bgmPath = folder + "\\large.bgm";
    outputPath = folder + (flac ? "\\large.flac" : "\\large.wav");
    DeleteFileA(outputPath.c_str());
    LoopDefinition definition;
    if (!writeBgm(bgmPath) || !writeDefinition(definitionPath) || !definition.load(definitionPath))
        return 1;

    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ownerProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "responsiveness_owner";
    RegisterClassA(&windowClass);
    HWND owner = CreateWindowExA(0, "responsiveness_owner", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640,
                                 480, nullptr, nullptr, instance, nullptr);
    if (!owner)
        return 1;

    std::atomic<bool> stop{false};
    std::thread ticker([&] {
        while (!stop) {
            Sleep(10);
            PostMessageA(owner, tickMessage, 0, static_cast<LPARAM>(counter()));
        }
    });
    OutputOptions options;
    options.outputFolder = folder;
    options.bgmFolder = folder;
    options.format = flac ? OutputFormat::Flac : OutputFormat::Wave;
    const std::unique_ptr<PieceWriter> writer = makePieceWriter(options);

    Run whole;
    current = &whole;
    whole.started = counter();
    runConversion(owner, definition, options, {0}, *writer);
    const double wholeSeconds = secondsSince(whole.started);
    const std::uint64_t written = fileSize(outputPath);
    DeleteFileA(outputPath.c_str());

    Run cancelled;
    cancelled.cancel = true;
    cancelled.cancelAfter = flac ? wholeSeconds / 2 : 0;
    current = &cancelled;
    cancelled.started = counter();
    runConversion(owner, definition, options, {0}, *writer);
    const double cancelSeconds = cancelled.pressed ? secondsSince(cancelled.pressed) : 0;
    const bool outputLeft = GetFileAttributesA(outputPath.c_str()) != INVALID_FILE_ATTRIBUTES;
    current = nullptr;

    stop = true;
    ticker.join();
    DestroyWindow(owner);
    DeleteFileA(outputPath.c_str());
    DeleteFileA(bgmPath.c_str());
    DeleteFileA(definitionPath.c_str());
    RemoveDirectoryA(folder.c_str());

    std::printf("whole run (%s): %.2f s, %llu bytes written (%s %llu)\n", writer->formatName(), wholeSeconds,
                static_cast<unsigned long long>(written), flac ? "WAVE would be" : "expected",
                static_cast<unsigned long long>(outputBytes));
    report("whole run", whole);
    report("cancelled run", cancelled);
    std::printf("cancelled halfway: %.1f ms from the press to runConversion's return; "
                "output file %s\n",
                cancelSeconds * 1000, outputLeft ? "LEFT" : "removed");
    return (flac ? written > 0 : written == outputBytes) && !outputLeft ? 0 : 1;
}
