#pragma once
// What one piece of a run will be: its entry, its tags and the run's options (fade, choices,
// format, folders) with the piece's own loop count. Each front end builds it once per piece and
// hands it to figures, lists and the run alike.
#include "definition/loop_definition.h"
#include "definition/music_entry.h"
#include "definition/output_options.h"
#include "definition/piece_tags.h"

#include <cstddef>

struct PieceToWrite {
    const MusicEntry& entry;
    PieceTags tags;
    OutputOptions options; // pieceOptions: the loop count is the piece's
};

// The piece at row of definition (row < entries().size()) as options make it.
PieceToWrite pieceToWrite(const LoopDefinition& definition, std::size_t row, const OutputOptions& options);
