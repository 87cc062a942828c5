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

    float at(std::size_t frame, std::uint32_t channel) const;
    // The channels' mean, which the searches work on.
    float mono(std::size_t frame) const;
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
