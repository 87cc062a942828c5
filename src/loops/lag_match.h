#pragma once
// How alike a stretch of the music is to the same length of it lag frames earlier, on the
// channels' mean: the sum of the squared differences divided by the two stretches' energies,
// 0 for the same sound, about 1 for unrelated sound, 2 for the sound turned upside down. A lossy
// encoder's round trip of the same music stays well below repeatThreshold.
#include "loops/pcm_view.h"

#include <cstddef>
#include <vector>

constexpr double repeatThreshold = 0.3;

std::vector<float> monoStretch(const PcmView& view, std::size_t from, std::size_t count);

// The difference for every lag from lowest to highest (result[lag - lowest]) between
// [from, from + length) and [from - lag, from - lag + length); the caller keeps from >= highest
// and from + length within the data.
std::vector<double> lagDifferences(const PcmView& view, std::size_t from, std::size_t length, std::size_t lowest,
                                   std::size_t highest);

// Lossless data repeats byte for byte at the true lag, which the FFT's rounding may put a frame
// or two beside the smallest difference: the lag within two of lag (and within [lowest, highest])
// at which [from, from + length) holds the same bytes as lag frames earlier, else lag itself.
std::size_t exactLagNear(const PcmView& view, std::size_t lag, std::size_t from, std::size_t length,
                         std::size_t lowest, std::size_t highest);

// The difference between [a, a + length) and [b, b + length).
double stretchDifference(const PcmView& view, std::size_t a, std::size_t b, std::size_t length);

// Whether a stretch holds sound rather than (near) silence, which matches anything silent.
bool sounding(const PcmView& view, std::size_t from, std::size_t length);
