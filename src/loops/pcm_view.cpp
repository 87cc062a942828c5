#include "loops/pcm_view.h"

#include <cstring>

PcmView::PcmView(const std::uint8_t* data, std::size_t bytes, std::uint32_t channels, std::uint32_t bits,
                 std::uint32_t rate)
    : data_(data), channels_(channels), sampleBytes_(bits / 8), frameBytes_(channels * (bits / 8)), rate_(rate)
{
    const bool known = bits == 8 || bits == 16 || bits == 24 || bits == 32;
    if (known && channels > 0 && rate > 0 && data != nullptr)
        frames_ = bytes / frameBytes_;
}

bool PcmView::sameFrames(std::size_t a, std::size_t b, std::size_t count) const
{
    return std::memcmp(data_ + a * frameBytes_, data_ + b * frameBytes_, count * frameBytes_) == 0;
}
