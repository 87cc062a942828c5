#pragma once
// The lengths at which the music's outline (its loudness and brightness, a hundred times a
// second) repeats best: a coarse look that the exact search then follows up.
#include "loops/pcm_view.h"

#include <cstddef>
#include <vector>

// At most count lengths in frames from lowest to highest, best first, each within a hundredth of a
// second of a repetition of the outline.
std::vector<std::size_t> likelyLengths(const PcmView& view, std::size_t lowest, std::size_t highest,
                                       std::size_t count);
