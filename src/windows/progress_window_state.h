#pragma once
// Whether the progress window is still there. Closing it and cancelling the run are one event:
// the run learns of both when the window's procedure marks it closed as the window goes.
enum class ProgressWindowState { Open, Closed };
