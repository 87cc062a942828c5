// Times opening a definition of n pieces in the main window (by a dropped file) and the
// commands "全て選択" and "選択反転" over its rows, each until the status bar shows the totals.
//
//   ticks_bench.exe [N…]      (default 100 1000 10000)
#include "main_window_driver.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

double now()
{
    LARGE_INTEGER count;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool writeDefinition(const std::string& path, int pieces)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    std::fprintf(file, "[album]\r\ntitle=Bench\r\n");
    for (int n = 0; n < pieces; ++n)
        std::fprintf(file,
                     "[music%04d]\r\nfile=p%d.wav\r\ntitle=Piece %d\r\nwave_file=bench.bgm\r\nwave_start=%d\r\n"
                     "wave_size=1764000\r\nloop_start=176400\r\nloop_size=1587600\r\n",
                     n, n, n, n * 1764000);
    return std::fclose(file) == 0;
}

// Seconds a command takes; the command is handled synchronously, figures and status bar included.
double timeCommand(HWND window, WORD id)
{
    double start = now();
    sendCommand(window, id);
    return now() - start;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = {100, 1000, 10000};
    char folder[MAX_PATH];
    if (!GetTempPathA(MAX_PATH, folder))
        return 1;
    std::printf("%8s %10s %10s %10s %10s\n", "pieces", "open s", "invert s", "all s", "invert s");
    for (int pieces : sizes) {
        const std::string path = std::string(folder) + "ticks_bench.mrl";
        if (!writeDefinition(path, pieces))
            return 1;
        MainWindow mainWindow;
        double open = 0, invert = 0, all = 0, back = 0;
        std::string ticked;
        runMainWindow(mainWindow, [&](HWND window) {
            double start = now();
            dropFiles(window, {path});
            open = now() - start;
            invert = timeCommand(window, invertTicksCommand);
            all = timeCommand(window, tickAllCommand);
            back = timeCommand(window, invertTicksCommand);
            ticked = statusText(GetDlgItem(window, statusBarId));
        });
        DeleteFileA(path.c_str());
        if (mainWindow.definition().entries().size() != static_cast<std::size_t>(pieces))
            return 1;
        std::printf("%8d %10.3f %10.3f %10.3f %10.3f   %s\n", pieces, open, invert, all, back, ticked.c_str());
    }
    return 0;
}
