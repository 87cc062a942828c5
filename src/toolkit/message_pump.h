#pragma once
// One thread does everything: every loop of the program is built on this one step.

enum PumpResult { pumpEmpty = 0, pumpDispatched = 1, pumpQuit = -1 };

// Takes one message of any window of the thread and dispatches it. A WM_QUIT is taken from the
// queue and reported, not dispatched.
int pumpMessage();

// Handles everything pending; stops at the first empty queue or WM_QUIT.
void drainMessages();
// Runs until WM_QUIT, sleeping 1 ms whenever the queue is empty.
void runMainLoop();
// Takes one message and dispatches it, or sleeps 1 ms when the queue is empty. A WM_QUIT taken
// here is dropped, so a modal window keeps running.
void pumpOrSleep();
