#pragma once
// A read-only look at interleaved little-endian PCM frames of any common width, as fractions of
// full scale: what the loop analysis reads, whatever the piece's format.
#include <cstddef>
#include <cstdint>

class PcmView {
public:
    PcmView(const std::uint8_t* data, std::size_t bytes, std::uint32_t channels, std::uint32_t bits,
            std::uint32_t rate);

    // 8-bit unsigned or 16-, 24- or 32-bit signed samples, at least one channel and a rate.
    bool readable() const { return frames_ > 0; }
    std::size_t frames() const { return frames_; }
    std::uint32_t channels() const { return channels_; }
    std::uint32_t rate() const { return rate_; }
    std::uint32_t frameBytes() const { return frameBytes_; }

    // Inline: the searches read every frame several times.
    float at(std::size_t frame, std::uint32_t channel) const
    {
        const std::uint8_t* p = data_ + frame * frameBytes_ + channel * sampleBytes_;
        switch (sampleBytes_) {
        case 1:
            return static_cast<float>(p[0] - 128) / 128.0f;
        case 2:
            return static_cast<float>(static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | p[1] << 8))) /
                   32768.0f;
        case 3:
            return static_cast<float>(
                static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) << 8 | static_cast<std::uint32_t>(p[1]) << 16 |
                                          static_cast<std::uint32_t>(p[2]) << 24) /
                2147483648.0);
        default:
            return static_cast<float>(
                static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                                          static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24) /
                2147483648.0);
        }
    }

    // The channels' mean, which the searches work on.
    float mono(std::size_t frame) const
    {
        float sum = 0;
        for (std::uint32_t channel = 0; channel < channels_; ++channel)
            sum += at(frame, channel);
        return sum / static_cast<float>(channels_);
    }
    // Whether count frames from a hold the same bytes as count frames from b.
    bool sameFrames(std::size_t a, std::size_t b, std::size_t count) const;
    std::size_t framesIn(double seconds) const { return static_cast<std::size_t>(seconds * rate_ + 0.5); }

private:
    const std::uint8_t* data_;
    std::size_t frames_ = 0;
    std::uint32_t channels_;
    std::uint32_t sampleBytes_;
    std::uint32_t frameBytes_;
    std::uint32_t rate_;
};
