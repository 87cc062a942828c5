#pragma once
// morlo-cli's --json documents: UTF-8 whatever the system, keys as the README lists them.
#include "cli/check_command.h"
#include "convert/convert_pieces.h"
#include "definition/loop_definition.h"
#include "definition/output_options.h"
#include "writers/piece_writer.h"

#include <cstdint>
#include <string>
#include <vector>

// The figures are those of writer's files as options make them. For a format other than WAVE each
// piece also names its output_file and says whether its output_bytes are known before writing
// (null when not); with title names, output_file is there in every format.
std::string listJson(const LoopDefinition& definition, const OutputOptions& options, const PieceWriter& writer);
// The figures are those of WAVE files.
std::string checkJson(const LoopDefinition& definition, const DefinitionCheck& check, const OutputOptions& options);

// How the playlist of a run ended.
struct PlaylistEnd {
    bool tried = false;    // false when the run was cancelled or left no piece's file to list
    PieceResult result;    // when tried
    bool failsRun = false; // whether it makes the run fail: not when kept by the answer n
};

// What became of each of the rows chosen, in their order, after a run that counted them as counts;
// with --split, of each file (pieceFiles), its part named; with the playlist's end when
// playlistName is not empty.
std::string convertJson(const LoopDefinition& definition, const std::vector<std::int32_t>& rows,
                        const ConversionCounts& counts, const OutputOptions& options, const std::string& playlistName,
                        const PlaylistEnd& playlist);
