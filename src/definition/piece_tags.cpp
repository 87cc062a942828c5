#include "definition/piece_tags.h"

PieceTags pieceTags(const LoopDefinition& definition, std::size_t index)
{
    PieceTags tags;
    tags.album = definition.albumTitle();
    tags.title = definition.entries()[index].title;
    tags.track = static_cast<std::uint32_t>(index + 1);
    tags.total = static_cast<std::uint32_t>(definition.entries().size());
    return tags;
}
