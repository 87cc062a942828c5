// Times opening a definition of n pieces in the main window (by a dropped file), one click on a
// check box, the three tick commands and one keystroke in the loop count field, each until the
// status bar shows the totals, and reads the process's working set before opening and with the
// pieces loaded.
// With --cli it also times `morlo-cli.exe list` of the same file, the floor for opening it.
//
//   ticks_bench.exe [--cli PATH\morlo-cli.exe] [N…]      (default 100 1000 10000)
#include "main_window_driver.h"

#include <commctrl.h>
#include <psapi.h>

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

// Seconds that `cli list path` takes, its output thrown away; negative when it could not run.
double timeCliList(const std::string& cli, const std::string& path)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE nul = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = nul;
    startup.hStdError = nul;
    PROCESS_INFORMATION process = {};
    std::string line = "\"" + cli + "\" list \"" + path + "\"";
    const double start = now();
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        CloseHandle(nul);
        return -1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    const double seconds = now() - start;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(nul);
    return seconds;
}

// Seconds a command takes; the command is handled synchronously, figures and status bar included.
double timeCommand(HWND window, WORD id)
{
    const double start = now();
    sendCommand(window, id);
    return now() - start;
}

// A left click on the check box of the list's first row, as the mouse sends it.
double timeClick(HWND list)
{
    RECT row = {};
    row.left = LVIR_BOUNDS;
    SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    const LPARAM point = MAKELPARAM(row.left + 8, (row.top + row.bottom) / 2);
    const double start = now();
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(list, WM_LBUTTONUP, 0, point);
    return now() - start;
}

double timeKeystroke(HWND window)
{
    const double start = now();
    SetDlgItemTextA(window, loopCountFieldId, "3");
    return now() - start;
}

double workingSetMiB()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.WorkingSetSize) / 1048576.0;
}

} // namespace

int main(int argc, char** argv)
{
    std::string cli;
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--cli" && i + 1 < argc)
            cli = argv[++i];
        else
            sizes.push_back(std::atoi(argv[i]));
    }
    if (sizes.empty())
        sizes = {100, 1000, 10000};
    char folder[MAX_PATH];
    if (!GetTempPathA(MAX_PATH, folder))
        return 1;
    std::printf("%7s %7s %7s %7s %7s %7s %7s %7s %7s %6s %6s\n", "pieces", "list s", "open s", "click s",
                "invert s", "all s", "none s", "invert s", "key s", "WS0 MiB", "WS MiB");
    for (int pieces : sizes) {
        const std::string path = std::string(folder) + "ticks_bench.mrl";
        if (!writeDefinition(path, pieces))
            return 1;
        const double list = cli.empty() ? 0 : timeCliList(cli, path);
        MainWindow mainWindow;
        double open = 0, click = 0, invert = 0, all = 0, none = 0, back = 0, key = 0, empty = 0, memory = 0;
        std::string ticked;
        bool clicked = false;
        runMainWindow(mainWindow, [&](HWND window) {
            HWND listView = GetDlgItem(window, musicListId);
            empty = workingSetMiB();
            double start = now();
            dropFiles(window, {path});
            open = now() - start;
            memory = workingSetMiB();
            click = timeClick(listView);
            clicked = (SendMessageA(listView, LVM_GETITEMSTATE, 0, LVIS_STATEIMAGEMASK) >> 12) == 1;
            invert = timeCommand(window, invertTicksCommand);
            all = timeCommand(window, tickAllCommand);
            none = timeCommand(window, untickAllCommand);
            back = timeCommand(window, invertTicksCommand);
            key = timeKeystroke(window);
            ticked = statusText(GetDlgItem(window, statusBarId));
        });
        DeleteFileA(path.c_str());
        if (mainWindow.definition().entries().size() != static_cast<std::size_t>(pieces) || !clicked)
            return 1;
        std::printf("%7d %7.3f %7.3f %7.3f %7.3f %7.3f %7.3f %7.3f %7.3f %7.1f %6.1f   %s\n", pieces, list, open,
                    click, invert, all, none, back, key, empty, memory, ticked.c_str());
        std::fflush(stdout);
    }
    return 0;
}
