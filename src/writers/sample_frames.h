#pragma once
// Turns a piece's sample data, as writeSamples hands it out in chunks that may split a frame,
// into whole frames of signed samples for an encoder.
#include "definition/music_entry.h"
#include "writers/format_refusal.h"
#include "writers/wave_writer.h"

#include <cstdint>
#include <string>
#include <vector>

class FrameSink : public SampleSink {
public:
    // Data of 8-bit unsigned or 16-, 24- or 32-bit signed little-endian samples.
    FrameSink(std::uint16_t channels, std::uint16_t bits);

    bool write(const std::uint8_t* bytes, std::uint32_t length) override;

protected:
    ~FrameSink() = default;
    // Takes count frames of interleaved samples, each in the range of its bits (8-bit ones
    // moved to be signed); false when they could not be stored.
    virtual bool writeFrames(const std::int32_t* samples, std::uint32_t count) = 0;

private:
    bool convert(const std::uint8_t* bytes, std::uint32_t frames);

    std::uint16_t channels_;
    std::uint16_t bytesPerSample_;
    std::uint32_t frameBytes_;
    // The start of a frame that the last chunk ended in. A partial frame at the very end of
    // the data is left out: no encoder can take it.
    std::vector<std::uint8_t> partial_;
    std::vector<std::int32_t> samples_;
};

// Why a FrameSink cannot read the piece's samples for a format: bits other than 8, 16, 24 or 32,
// or channels outside 1 to largestChannels; none when it can.
FormatRefusal sampleLayoutRefusal(const MusicEntry& entry, unsigned largestChannels);
