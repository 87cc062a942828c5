#include "platform/worker_signals.h"

#include <csignal>
#include <initializer_list>
#include <pthread.h>

void leaveStopSignalsToOtherThreads()
{
    sigset_t signals;
    sigemptyset(&signals);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&signals, signal);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}
