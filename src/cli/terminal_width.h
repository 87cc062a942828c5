#pragma once
// The terminal that standard error shows in, as far as the progress line needs it.

// Starts noticing changes of the terminal's size.
void followTerminalSize();

// Whether the size changed since the last call.
bool terminalResized();

// The terminal's width in columns; 80 when it cannot be told.
int terminalColumns();
