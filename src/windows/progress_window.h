#pragma once
// A conversion run under the modal progress window (class morlo_convert): writes every piece of
// rows in writer's format, asks before replacing files, and waits at the end until the user
// closes the window. False when the window could not be made; nothing is written then.
#include "definition/loop_definition.h"
#include "definition/output_options.h"
#include "writers/piece_writer.h"

#include <windows.h>

#include <cstdint>
#include <vector>

bool runConversion(HWND owner, const LoopDefinition& definition, const OutputOptions& options,
                   const std::vector<std::int32_t>& rows, PieceWriter& writer);
