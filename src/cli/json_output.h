#pragma once
// morlo-cli's --json documents: UTF-8 whatever the system, keys as the README lists them.
#include "cli/check_command.h"
#include "writers/piece_writer.h"
#include "definition/loop_definition.h"
#include "definition/output_options.h"

#include <cstdint>
#include <string>

// The figures are those of files as choices make them: what they add, and a full fade. With format
// (a format other than WAVE) each piece also names its output_file, says whether its output_bytes
// are known before writing (null when not) and is writable only when the format can hold it.
std::string listJson(const LoopDefinition& definition, std::uint32_t loopCount, std::uint32_t fadeSeconds,
                     const FileChoices& choices, const PieceWriter* format = nullptr);
std::string checkJson(const LoopDefinition& definition, const DefinitionCheck& check, std::uint32_t loopCount,
                      std::uint32_t fadeSeconds, const FileChoices& choices);
