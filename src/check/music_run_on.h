#pragma once
// Whether the music runs on from a loop's end into its start: what follows the end, compared with
// what follows the start, and the loop near the author's that does run on.
#include "loops/pcm_view.h"

#include <cstddef>
#include <optional>

// How far from the loop's length the true one is looked for: a start and an end each off by 35 ms
// the other way.
constexpr double lengthReachSeconds = 0.07;

// The stretch compared: offset frames past the loop's start and past its end, length frames
// long; offset skips silence, which matches any silence and so tells nothing.
struct MusicWindow {
    std::size_t offset = 0;
    std::size_t length = 0;
};

// The first window of up to windowFrames after end in which the data past the end holds sound:
// silence there (a rest, or padding after a BGM's last pass) says nothing of how the music goes
// on; none when the data past end is silent.
std::optional<MusicWindow> soundingWindow(const PcmView& view, std::size_t end, std::size_t windowFrames);

// The difference (lag_match.h) between the window after end and the one after start, shortened
// to the data; none when no frame of it lies within the data.
std::optional<double> runOnDifference(const PcmView& view, std::size_t start, std::size_t end,
                                      const MusicWindow& window);

struct RunningLoop {
    std::size_t start = 0;  // frames
    std::size_t length = 0; // frames
    double difference = 0;
    bool exact = false;       // the bytes themselves repeat at that length
    std::size_t earliest = 0; // the earliest frame from which the music repeats at it
};

// The loop of [start, end) mended so that the music runs on: its true length found within
// lengthReachSeconds (to the frame where the bytes repeat), then of the loops of that length
// that lie within the data and run on, the first of: one starting at the earliest frame from
// which the music repeats (within a millisecond), the author's start kept, the author's end
// kept, the earliest start. None when no length near runs on.
std::optional<RunningLoop> runningLoopNear(const PcmView& view, std::size_t start, std::size_t end,
                                           const MusicWindow& window);

// Where too little of the data follows the loop's end to compare, the data's end may still repeat
// the music about a loop before it (data holding the loop's end twice): then the loop near the
// author's of that length, by the same rule, or the author's own when it is such a loop (a
// difference below repeatThreshold at the author's length, and a start where the music repeats).
struct EndRepeat {
    RunningLoop loop;          // the loop the music asks for
    double authorsDifference;  // the data's end against the music the author's length before it
    bool authorsStartRepeats;  // the author's start lies where the music repeats at that length
    bool exact;                // the bytes themselves repeat at that length
    bool authorsExact;         // and at the author's length
};
std::optional<EndRepeat> endRepeatNear(const PcmView& view, std::size_t start, std::size_t end);
