#pragma once
// Linear prediction: each sample as a weighted sum of the ones before it. Music's many partials
// make it predictable to a small residual where it runs on, and unpredictable where one stretch
// is glued to another that does not continue it: what makes a seam of one pass measurable.
#include <cstddef>
#include <vector>

struct Predictor {
    std::vector<double> weights; // weights[k] multiplies the sample k + 1 before
    double residualPower = 0;    // per sample, over the stretch it was fitted to
};

// Fitted to values (windowed, autocorrelation method); no weights when values are silent.
Predictor fitPredictor(const std::vector<float>& values, std::size_t order);
