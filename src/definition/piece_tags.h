#pragma once
// What a written file tells players and libraries about itself, taken from the definition.
#include "definition/loop_definition.h"

#include <cstddef>
#include <cstdint>
#include <string>

struct PieceTags {
    std::string album; // Shift-JIS, as the definition holds it
    std::string title; // Shift-JIS
    std::uint32_t track = 0; // the piece's place in the definition, 1 for the first
    std::uint32_t total = 0; // the pieces in the definition
};

// The tags of the entry at index of definition.
PieceTags pieceTags(const LoopDefinition& definition, std::size_t index);
