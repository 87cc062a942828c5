#pragma once
// The loop of data that holds one pass only, ending where the data ends: the start whose
// surroundings and seam best continue the data's end.
#include "loops/loop_finder.h"

#include <vector>

// At most count candidates, best first, with the start within nearReach of nearStart seconds and
// the length within lengths; none when no such start lies in the data.
std::vector<LoopCandidate> onePassSeams(const PcmView& view, double nearStart, const FrameRange& lengths,
                                        std::size_t count);
