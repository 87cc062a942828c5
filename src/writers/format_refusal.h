#pragma once
// Why a format cannot hold a piece: a code, which each front end words in its own language.
#include <cstdint>

enum class FormatLimit {
    None,
    Channels,       // no channel, or more than the format holds (largestChannels)
    SampleBits,     // bits other than 8, 16, 24 or 32
    EncoderMemory,  // the encoder library has no memory for an encoder
    EncoderBits,    // the encoder library that runs cannot take samples of the piece's bits
    Rate,           // the format cannot hold the piece's rate
    EncoderRate,    // the encoder cannot take the piece's rate
    EncoderRefuses, // the encoder library refuses the piece's format for a reason of its own
};

struct FormatRefusal {
    FormatLimit limit = FormatLimit::None;
    std::uint32_t largestChannels = 0; // what the format holds, with Channels

    bool refuses() const { return limit != FormatLimit::None; }
};
