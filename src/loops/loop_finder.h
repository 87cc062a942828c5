#pragma once
// Finds where a piece's music repeats and how long one repetition is, to the frame.
//
// Data that holds the loop more than once (the repeat case) shows it: a coarse look at how the
// music's loudness and brightness repeat gives likely lengths, each is made exact by comparing
// a second of the end of the data with every nearby earlier place, and the start is the earliest
// frame from which the music goes on repeating at that length. Data that holds one pass only
// cannot show a repetition; told roughly where the loop lies, the search takes the data's end as
// the loop's end and the start whose surroundings and seam best continue it.
#include "loops/pcm_view.h"

#include <cstddef>
#include <optional>
#include <vector>

struct LoopSearch {
    double minSeconds = 2;
    std::optional<double> maxSeconds;
    // Roughly where the author hears the loop start and how long it is, in seconds: the search
    // keeps within nearReach of each.
    std::optional<double> nearStart;
    std::optional<double> nearLength;
};

constexpr double nearReach = 2.0;

// Frames from lowest to highest, both included.
struct FrameRange {
    std::size_t lowest = 0;
    std::size_t highest = 0;
    bool empty() const { return highest < lowest; }
};

enum class LoopCase { Repeat, OnePass };
enum class NotFound { None, Silent, TooShort, NoRepeat, NothingNear };

struct LoopCandidate {
    std::size_t start = 0;  // frames
    std::size_t length = 0; // frames
    double confidence = 0;  // 0 to 1
    bool exact = false;     // the bytes themselves repeat (repeat case)
};

struct FoundLoop {
    NotFound reason = NotFound::None; // None when found
    LoopCase loopCase = LoopCase::Repeat;
    std::vector<LoopCandidate> candidates; // best first, at most three
};

FoundLoop findLoop(const PcmView& view, const LoopSearch& search);

// The stable codes of the reasons, for scripts: "silent", "too-short", "no-repeat", "nothing-near".
const char* notFoundCode(NotFound reason);
