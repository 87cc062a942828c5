#pragma once
// One piece of music of a loop definition file. Field names are the file's key names.
#include <cstdint>
#include <string>

struct MusicEntry {
    static constexpr std::size_t fileNameBytes = 15;
    static constexpr std::size_t titleBytes = 255;
    // The format of a piece whose definition leaves a key out or empty.
    static constexpr std::uint16_t defaultChannels = 2;
    static constexpr std::uint32_t defaultSamples = 44100;
    static constexpr std::uint16_t defaultBits = 16;

    std::string file;               // name of the WAVE file to write, in the output folder
    std::string title;
    std::uint16_t fmt_channels = defaultChannels;
    std::uint32_t fmt_samples = defaultSamples; // sample frames per second
    std::uint16_t fmt_bits = defaultBits;
    std::string wave_file;          // BGM wave file holding the data, in the BGM folder
    std::uint32_t wave_start = 0;   // byte offset of the data in the BGM wave file
    std::uint32_t wave_size = 0;
    std::uint32_t loop_start = 0;   // from wave_start; also the length of the introduction
    std::uint32_t loop_size = 0;
    // The definition was saved as Unicode and these texts held characters Shift-JIS lacks: each
    // reads as '?'.
    bool fileLost = false;
    bool titleLost = false;
    bool waveFileLost = false;
};
