#pragma once
// Reads a plain audio file whole, for the loop search: WAVE (PCM of 8 to 32 bits, also in its
// extensible form), FLAC and Ogg Vorbis.
#include <cstdint>
#include <string>
#include <vector>

struct AudioData {
    std::vector<std::uint8_t> bytes; // interleaved little-endian frames, as a definition's data
    std::uint32_t channels = 0;
    std::uint32_t rate = 0;
    std::uint32_t bits = 0;
};

enum class AudioRefusal { None, Unreadable, NotAudio, NotPcm };

// Whether the file begins as a WAVE, FLAC or Ogg file does, so that it is taken for audio rather
// than a definition.
bool looksLikeAudio(const std::string& path);

AudioRefusal readAudioFile(const std::string& path, AudioData& audio);

// The compressed formats, decoded whole into 8-, 16- or 24-bit frames (Ogg Vorbis as 16-bit).
AudioRefusal decodeFlac(const std::string& path, AudioData& audio);
AudioRefusal decodeOggVorbis(const std::string& path, AudioData& audio);
