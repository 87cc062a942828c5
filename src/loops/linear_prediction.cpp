#include "loops/linear_prediction.h"

#include <cmath>

namespace {

constexpr double pi = 3.14159265358979323846;

} // namespace

Predictor fitPredictor(const std::vector<float>& values, std::size_t order)
{
    Predictor predictor;
    const std::size_t n = values.size();
    if (n <= order)
        return predictor;
    std::vector<double> windowed(n);
    for (std::size_t i = 0; i < n; ++i)
        windowed[i] = values[i] * (0.5 - 0.5 * std::cos(2 * pi * (i + 0.5) / n));
    std::vector<double> correlation(order + 1, 0);
    for (std::size_t lag = 0; lag <= order; ++lag) {
        for (std::size_t i = lag; i < n; ++i)
            correlation[lag] += windowed[i] * windowed[i - lag];
    }
    if (correlation[0] <= 0)
        return predictor;
    // A touch of white noise keeps the recursion stable on pure tones.
    correlation[0] *= 1 + 1e-9;
    // Levinson-Durbin.
    std::vector<double> a(order + 1, 0), previous;
    double error = correlation[0];
    for (std::size_t i = 1; i <= order; ++i) {
        double reflection = correlation[i];
        for (std::size_t k = 1; k < i; ++k)
            reflection -= a[k] * correlation[i - k];
        reflection /= error;
        previous = a;
        a[i] = reflection;
        for (std::size_t k = 1; k < i; ++k)
            a[k] = previous[k] - reflection * previous[i - k];
        error *= 1 - reflection * reflection;
    }
    predictor.weights.assign(a.begin() + 1, a.end());
    // The window's mean power, so that the residual compares with unwindowed samples.
    predictor.residualPower = error / (0.375 * n);
    return predictor;
}
