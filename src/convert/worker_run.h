#pragma once
// The run of convertPieces with workers: the calling thread reads the pieces, asks about their files
// and tells the front end everything; workers encode.
#include "convert/convert_pieces.h"

#include <cstdint>

// What a piece holds while it waits for a worker and is encoded, beside its data: the samples of
// one chunk as an encoder takes them (four bytes a sample, so 4 MiB for 8-bit data) and the
// encoder's own buffers (the Vorbis encoder keeps them as floats too: 14 MiB in all for 8-bit
// mono, measured).
constexpr std::uint64_t encoderBytes = 16ull << 20;
// The memory the pieces read and not yet encoded may hold, counted with encoderBytes each: twice
// the largest piece and this much more, so that the run's peak stays near that bound however many
// processors there are, one piece is read while another is encoded, and several short ones go at once.
constexpr std::uint64_t workerBytesBeyondPieces = 64ull << 20;

// workers is at least 2; writer's files keep a processor busy; options write files.
ConversionCounts convertWithWorkers(const LoopDefinition& definition, const OutputOptions& options,
                                    const std::vector<std::int32_t>& rows, ConversionFrontEnd& frontEnd,
                                    const PieceWriter& writer, unsigned workers);
