#include "loops/lag_match.h"

#include "loops/correlation.h"

#include <cmath>

namespace {

// About -70 dB of full scale: quieter stretches are taken as silence.
constexpr double quietPower = 1e-7;
// Keeps near-silent stretches from turning a few stray bits into large differences.
constexpr double floorPower = 1e-9;

double difference(double products, double energyA, double energyB, std::size_t length)
{
    const double below = energyA + energyB + floorPower * static_cast<double>(length);
    const double value = (energyA + energyB - 2 * products) / below;
    return value < 0 ? 0 : value;
}

} // namespace

std::vector<float> monoStretch(const PcmView& view, std::size_t from, std::size_t count)
{
    std::vector<float> values(count);
    for (std::size_t i = 0; i < count; ++i)
        values[i] = view.mono(from + i);
    return values;
}

std::vector<double> lagDifferences(const PcmView& view, std::size_t from, std::size_t length, std::size_t lowest,
                                   std::size_t highest)
{
    const std::vector<float> reference = monoStretch(view, from, length);
    const std::vector<float> earlier = monoStretch(view, from - highest, highest - lowest + length);
    const std::vector<double> products = slidingProducts(earlier, reference);
    double referenceEnergy = 0;
    for (float value : reference)
        referenceEnergy += static_cast<double>(value) * value;
    // Running sums of the earlier stretch's energy give each window's in one step.
    std::vector<double> running(earlier.size() + 1, 0);
    for (std::size_t i = 0; i < earlier.size(); ++i)
        running[i + 1] = running[i] + static_cast<double>(earlier[i]) * earlier[i];

    std::vector<double> result(highest - lowest + 1);
    for (std::size_t lag = lowest; lag <= highest; ++lag) {
        const std::size_t offset = highest - lag;
        const double energy = running[offset + length] - running[offset];
        result[lag - lowest] = difference(products[offset], referenceEnergy, energy, length);
    }
    return result;
}

std::size_t exactLagNear(const PcmView& view, std::size_t lag, std::size_t from, std::size_t length,
                         std::size_t lowest, std::size_t highest)
{
    for (std::size_t step = 0; step <= 2; ++step) {
        for (std::size_t other : {lag - step, lag + step}) {
            if (other >= lowest && other <= highest && view.sameFrames(from - other, from, length))
                return other;
        }
    }
    return lag;
}

namespace {

// The sums the comparisons of two stretches are made of.
struct StretchSums {
    double products = 0;
    double energyA = 0;
    double energyB = 0;
};

StretchSums sumsOf(const PcmView& view, std::size_t a, std::size_t b, std::size_t length)
{
    StretchSums sums;
    for (std::size_t i = 0; i < length; ++i) {
        const double x = view.mono(a + i), y = view.mono(b + i);
        sums.products += x * y;
        sums.energyA += x * x;
        sums.energyB += y * y;
    }
    return sums;
}

} // namespace

double stretchDifference(const PcmView& view, std::size_t a, std::size_t b, std::size_t length)
{
    const StretchSums sums = sumsOf(view, a, b, length);
    return difference(sums.products, sums.energyA, sums.energyB, length);
}

double stretchCorrelation(const PcmView& view, std::size_t a, std::size_t b, std::size_t length)
{
    const StretchSums sums = sumsOf(view, a, b, length);
    const double both = std::sqrt(sums.energyA * sums.energyB);
    return both > 0 ? sums.products / both : 0;
}

double levelRatio(const PcmView& view, std::size_t a, std::size_t b, std::size_t length)
{
    const StretchSums sums = sumsOf(view, a, b, length);
    return sums.energyA > 0 && sums.energyB > 0 ? std::log10(sums.energyA / sums.energyB) : 0;
}

bool sounding(const PcmView& view, std::size_t from, std::size_t length)
{
    double energy = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const double x = view.mono(from + i);
        energy += x * x;
    }
    return energy > quietPower * static_cast<double>(length);
}
