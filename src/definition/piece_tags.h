#pragma once
// What a written file tells players and libraries about itself, taken from the definition.
#include "definition/loop_definition.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct PieceTags {
    std::string album; // Shift-JIS, as the definition holds it
    std::string title; // Shift-JIS
    std::uint32_t track = 0; // the piece's place in the definition, 1 for the first
    std::uint32_t total = 0; // the pieces in the definition
};

// The tags of the entry at index of definition.
PieceTags pieceTags(const LoopDefinition& definition, std::size_t index);

enum class TagField { Title, Album };

struct TagText {
    TagField field;
    const std::string& text; // Shift-JIS
};

// The texts every kind of tag carries, in this order: the title, then the album, each left out
// when it is empty, so that a player shows the file's name rather than an empty title.
std::vector<TagText> tagTexts(const PieceTags& tags);
