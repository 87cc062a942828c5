#pragma once
// The signals a user sends to stop a run (Ctrl-C, SIGTERM, SIGHUP) only set a flag; they must
// land on the thread that drives the run, where they also break off a wait for the user's answer.

// Keeps those signals away from the calling thread, a worker of a run. Nothing to do on Windows,
// whose console handler runs on a thread of its own.
void leaveStopSignalsToOtherThreads();
