#include "writers/sample_frames.h"


#include <algorithm>

namespace {

// Little-endian samples of Size bytes, signed; 8-bit ones are unsigned with their zero at 128.
template <int Size>
std::int32_t sampleAt(const std::uint8_t* bytes)
{
    if (Size == 1)
        return static_cast<std::int32_t>(bytes[0]) - 128;
    std::uint32_t value = 0;
    for (int i = 0; i < Size; ++i)
        value |= static_cast<std::uint32_t>(bytes[i]) << (8 * (4 - Size + i));
    // Built in the top bytes and shifted down, so that the sign comes along.
    return static_cast<std::int32_t>(value) >> (8 * (4 - Size));
}

template <int Size>
void convertSamples(const std::uint8_t* bytes, std::vector<std::int32_t>& samples)
{
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = sampleAt<Size>(bytes + i * Size);
}

} // namespace

FrameSink::FrameSink(std::uint16_t channels, std::uint16_t bits)
    : channels_(channels), bytesPerSample_(static_cast<std::uint16_t>(bits / 8)),
      frameBytes_(static_cast<std::uint32_t>(channels) * (bits / 8))
{
}

bool FrameSink::write(const std::uint8_t* bytes, std::uint32_t length)
{
    if (!partial_.empty()) {
        std::uint32_t fill = std::min<std::uint32_t>(length, frameBytes_ - static_cast<std::uint32_t>(partial_.size()));
        partial_.insert(partial_.end(), bytes, bytes + fill);
        bytes += fill;
        length -= fill;
        if (partial_.size() < frameBytes_)
            return true;
        if (!convert(partial_.data(), 1))
            return false;
        partial_.clear();
    }
    const std::uint32_t frames = length / frameBytes_;
    partial_.assign(bytes + frames * frameBytes_, bytes + length);
    return frames == 0 || convert(bytes, frames);
}

bool FrameSink::convert(const std::uint8_t* bytes, std::uint32_t frames)
{
    samples_.resize(static_cast<std::size_t>(frames) * channels_);
    switch (bytesPerSample_) {
    case 1:
        convertSamples<1>(bytes, samples_);
        break;
    case 2:
        convertSamples<2>(bytes, samples_);
        break;
    case 3:
        convertSamples<3>(bytes, samples_);
        break;
    default:
        convertSamples<4>(bytes, samples_);
        break;
    }
    return writeFrames(samples_.data(), frames);
}

FormatRefusal sampleLayoutRefusal(const MusicEntry& entry, unsigned largestChannels)
{
    if (entry.fmt_channels == 0 || entry.fmt_channels > largestChannels)
        return {FormatLimit::Channels, largestChannels};
    const std::uint16_t bits = entry.fmt_bits;
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return {FormatLimit::SampleBits};
    return {};
}
