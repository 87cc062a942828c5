#include "cli/cancel_signals.h"

#include <csignal>
#include <initializer_list>

namespace {

volatile std::sig_atomic_t requested = 0;

void onSignal(int) { requested = 1; }

} // namespace

void cancelOnSignals()
{
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a read waiting for the answer to the overwrite question returns at once.
    action.sa_flags = 0;
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
}

bool cancelRequested() { return requested != 0; }

void ignoreClosedPipes() { std::signal(SIGPIPE, SIG_IGN); }
