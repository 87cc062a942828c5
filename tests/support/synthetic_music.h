#pragma once
// Music made for the loop tests: a note and a fifth above it on every quarter second, drawn from a
// scale by a seeded generator and decaying, with a noise burst (a drum) on some; no two seeds give
// the same music, and none repeats except by construction.
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

constexpr double pi = 3.14159265358979323846;

inline std::vector<float> syntheticMusic(double seconds, std::uint32_t rate, unsigned seed)
{
    std::mt19937 random(seed);
    const double notes[] = {220, 247, 262, 294, 330, 349, 392, 440};
    const auto frames = static_cast<std::size_t>(seconds * rate);
    const std::size_t beat = rate / 4, drum = rate / 50;
    std::vector<float> music;
    music.reserve(frames + beat);
    while (music.size() < frames) {
        const double note = notes[random() % 8], fifth = notes[random() % 8] * 1.5;
        const bool drummed = random() % 10 < 4;
        const std::size_t first = music.size();
        for (std::size_t i = 0; i < beat; ++i) {
            const double t = static_cast<double>(first + i) / rate;
            double value = 0.3 * std::exp(-3.0 * i / beat) *
                           (std::sin(2 * pi * note * t) + 0.5 * std::sin(2 * pi * fifth * t));
            if (drummed && i < drum)
                value += 0.2 * (static_cast<double>(random()) / random.max() * 2 - 1) * (1 - double(i) / drum);
            music.push_back(static_cast<float>(value));
        }
    }
    music.resize(frames);
    return music;
}

// intro, then the loop passes times (a fraction keeps the start of the loop only).
inline std::vector<float> loopedMusic(const std::vector<float>& intro, const std::vector<float>& loop, double passes)
{
    std::vector<float> data(intro);
    const auto frames = static_cast<std::size_t>(loop.size() * passes);
    for (std::size_t i = 0; i < frames; ++i)
        data.push_back(loop[i % loop.size()]);
    return data;
}

// Little-endian PCM with every channel alike; 8-bit unsigned.
inline std::vector<std::uint8_t> pcmBytes(const std::vector<float>& samples, std::uint32_t bits, std::uint32_t channels)
{
    std::vector<std::uint8_t> bytes;
    const std::uint32_t width = bits / 8;
    bytes.reserve(samples.size() * width * channels);
    const double scale = std::ldexp(1.0, static_cast<int>(bits) - 1) - 1;
    for (float sample : samples) {
        const double clipped = sample > 1 ? 1 : sample < -1 ? -1 : sample;
        auto stored = static_cast<std::uint32_t>(std::llround(clipped * scale) + (bits == 8 ? 128 : 0));
        for (std::uint32_t b = 0; b < width * channels; ++b)
            bytes.push_back(static_cast<std::uint8_t>(stored >> (8 * (b % width))));
    }
    return bytes;
}
