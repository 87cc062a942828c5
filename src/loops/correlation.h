#pragma once
// Sums of products of one stretch of sound with another at every offset, through the FFT: what
// makes comparing a second of music with thousands of nearby places cheap.
#include <cstddef>
#include <vector>

// result[o] = sum over i of pattern[i] * signal[o + i], for o from 0 to signal.size() - pattern.size().
// Empty when the pattern is longer than the signal or empty.
std::vector<double> slidingProducts(const std::vector<float>& signal, const std::vector<float>& pattern);

