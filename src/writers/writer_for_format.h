#pragma once
// The formats morlo-cli writes. WAVE is written by every build; FLAC and Ogg Vorbis only by the
// builds that link their encoders (the Linux one, not morlo-cli.exe).
#include "writers/piece_writer.h"

#include <memory>

enum class OutputFormat { Wave, Flac, OggVorbis };

constexpr float defaultVorbisQuality = 5;

// The writer of format; null when this build has no encoder for it. quality is Ogg Vorbis's,
// -1 to 10.
std::unique_ptr<PieceWriter> makePieceWriter(OutputFormat format, float quality);
