#pragma once
// The writer of each format. WAVE is written by every build; FLAC and Ogg Vorbis only by the
// builds that link their encoders (the Linux one, not morlo-cli.exe).
#include "definition/output_options.h"
#include "writers/piece_writer.h"

#include <memory>

// The writer of options.format (Ogg Vorbis at options.quality); null when this build has no
// encoder for it.
std::unique_ptr<PieceWriter> makePieceWriter(const OutputOptions& options);
