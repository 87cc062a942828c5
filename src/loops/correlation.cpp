#include "loops/correlation.h"

#include <kiss_fftr.h>

#include <complex>
#include <memory>

namespace {

// One size's forward and inverse real transforms, freed with the object.
class RealFft {
public:
    explicit RealFft(std::size_t size)
        : size_(size), forward_(kiss_fftr_alloc(static_cast<int>(size), 0, nullptr, nullptr)),
          inverse_(kiss_fftr_alloc(static_cast<int>(size), 1, nullptr, nullptr))
    {
    }
    ~RealFft()
    {
        kiss_fftr_free(forward_);
        kiss_fftr_free(inverse_);
    }
    RealFft(const RealFft&) = delete;
    std::size_t size() const { return size_; }
    RealFft& operator=(const RealFft&) = delete;

    // values zero-padded to the size
    std::vector<kiss_fft_cpx> spectrum(const std::vector<float>& values) const
    {
        std::vector<kiss_fft_scalar> padded(size_, 0);
        for (std::size_t i = 0; i < values.size() && i < size_; ++i)
            padded[i] = values[i];
        std::vector<kiss_fft_cpx> bins(size_ / 2 + 1);
        kiss_fftr(forward_, padded.data(), bins.data());
        return bins;
    }

    // The circular correlation of the two signals whose spectra are given: sum of a[(o + i) % size] * b[i].
    std::vector<double> correlation(const std::vector<kiss_fft_cpx>& a, const std::vector<kiss_fft_cpx>& b) const
    {
        std::vector<kiss_fft_cpx> product(a.size());
        for (std::size_t k = 0; k < a.size(); ++k) {
            const std::complex<float> value =
                std::complex<float>(a[k].r, a[k].i) * std::conj(std::complex<float>(b[k].r, b[k].i));
            product[k] = {value.real(), value.imag()};
        }
        std::vector<kiss_fft_scalar> out(size_);
        kiss_fftri(inverse_, product.data(), out.data());
        std::vector<double> result(size_);
        for (std::size_t i = 0; i < size_; ++i)
            result[i] = out[i] / static_cast<double>(size_);
        return result;
    }

private:
    std::size_t size_;
    kiss_fftr_cfg forward_;
    kiss_fftr_cfg inverse_;
};

// Making a transform's tables costs as much as using it a few times, and the searches use the
// same sizes over and over: the last one made is kept.
const RealFft& transformOf(std::size_t size)
{
    thread_local std::unique_ptr<RealFft> last;
    if (!last || last->size() != size)
        last = std::make_unique<RealFft>(size);
    return *last;
}

std::size_t transformSize(std::size_t atLeast)
{
    std::size_t size = 64;
    while (size < atLeast)
        size *= 2;
    return size;
}

} // namespace

std::vector<double> slidingProducts(const std::vector<float>& signal, const std::vector<float>& pattern)
{
    if (pattern.empty() || pattern.size() > signal.size())
        return {};
    // Offsets o + i stay below signal.size(), so no product wraps around.
    const RealFft& fft = transformOf(transformSize(signal.size()));
    std::vector<double> all = fft.correlation(fft.spectrum(signal), fft.spectrum(pattern));
    all.resize(signal.size() - pattern.size() + 1);
    return all;
}
