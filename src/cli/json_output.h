#pragma once
// morlo-cli's --json documents: UTF-8 whatever the system, keys as the README lists them.
#include "cli/check_command.h"
#include "definition/loop_definition.h"
#include "definition/output_options.h"
#include "writers/piece_writer.h"

#include <cstdint>
#include <string>

// The figures are those of writer's files as options make them. For a format other than WAVE each
// piece also names its output_file and says whether its output_bytes are known before writing
// (null when not); with title names, output_file is there in every format.
std::string listJson(const LoopDefinition& definition, const OutputOptions& options, const PieceWriter& writer);
// The figures are those of WAVE files.
std::string checkJson(const LoopDefinition& definition, const DefinitionCheck& check, const OutputOptions& options);
