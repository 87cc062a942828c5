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

float PcmView::at(std::size_t frame, std::uint32_t channel) const
{
    const std::uint8_t* p = data_ + frame * frameBytes_ + channel * sampleBytes_;
    switch (sampleBytes_) {
    case 1:
        return (p[0] - 128) / 128.0f;
    case 2:
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | p[1] << 8)) / 32768.0f;
    case 3: {
        const std::uint32_t bits = static_cast<std::uint32_t>(p[0]) << 8 | static_cast<std::uint32_t>(p[1]) << 16 |
                                   static_cast<std::uint32_t>(p[2]) << 24;
        return static_cast<float>(static_cast<std::int32_t>(bits) / 2147483648.0);
    }
    default: {
        const std::uint32_t bits = static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                                   static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
        return static_cast<float>(static_cast<std::int32_t>(bits) / 2147483648.0);
    }
    }
}

float PcmView::mono(std::size_t frame) const
{
    float sum = 0;
    for (std::uint32_t channel = 0; channel < channels_; ++channel)
        sum += at(frame, channel);
    return sum / static_cast<float>(channels_);
}

bool PcmView::sameFrames(std::size_t a, std::size_t b, std::size_t count) const
{
    return std::memcmp(data_ + a * frameBytes_, data_ + b * frameBytes_, count * frameBytes_) == 0;
}
