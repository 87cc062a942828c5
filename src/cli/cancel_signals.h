#pragma once
// How a user stops morlo-cli in the middle of a run: Ctrl-C, closing the terminal or a polite
// kill. Each only sets a flag that the run checks between chunks, so the unfinished file is
// removed and the run ends in the usual way instead of dying with it.

// From here on Ctrl-C, Ctrl-Break, SIGTERM, SIGHUP and the console's close cancel the run. They
// also break off a wait for the user's answer at the terminal.
void cancelOnSignals();

// Whether one of them came.
bool cancelRequested();

// From here on a reader that closes standard output makes the next write to it fail, instead of
// ending the process without a word.
void ignoreClosedPipes();
