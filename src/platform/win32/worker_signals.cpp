#include "platform/worker_signals.h"

void leaveStopSignalsToOtherThreads() {}
