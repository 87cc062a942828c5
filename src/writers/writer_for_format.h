#pragma once
// The writer of each format.
#include "definition/output_options.h"
#include "writers/piece_writer.h"

#include <memory>

// The writer of options.format (Ogg Vorbis at options.quality).
std::unique_ptr<PieceWriter> makePieceWriter(const OutputOptions& options);
