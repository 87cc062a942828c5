#pragma once
// What one piece of a run will be: its entry, its tags and the run's options (loop count, fade,
// choices, format, folders). Each front end builds it once per piece and hands it to figures,
// lists and the run alike.
#include "definition/loop_definition.h"
#include "definition/music_entry.h"
#include "definition/output_options.h"
#include "definition/piece_tags.h"

#include <cstddef>
#include <string>

struct PieceToWrite {
    const MusicEntry& entry;
    PieceTags tags;
    const OutputOptions& options;
};

// The piece at row of definition (row < entries().size()) as options make it.
PieceToWrite pieceToWrite(const LoopDefinition& definition, std::size_t row, const OutputOptions& options);

// The piece's file name in the output folder (Shift-JIS), as output_rule.h's outputName gives it.
std::string outputName(const PieceToWrite& piece);
