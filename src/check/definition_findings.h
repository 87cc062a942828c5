#pragma once
// Findings about a piece that its definition alone tells, before any file is read.
#include "check/findings.h"
#include "definition/loop_definition.h"
#include "definition/output_options.h"

#include <cstddef>
#include <cstdint>

// Errors (the same rules that refuse a piece when it is converted) and warnings for entry
// number index of definition, for the fade of options and the piece's loop count (pieceOptions).
Findings definitionFindings(const LoopDefinition& definition, std::size_t index, const OutputOptions& options);
