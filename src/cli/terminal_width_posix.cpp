#include "cli/terminal_width.h"

#include <csignal>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t resized = 0;

void onResize(int) { resized = 1; }

} // namespace

void followTerminalSize() { std::signal(SIGWINCH, onResize); }

bool terminalResized()
{
    bool changed = resized != 0;
    resized = 0;
    return changed;
}

int terminalColumns()
{
    winsize size{};
    return ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 ? size.ws_col : 80;
}
