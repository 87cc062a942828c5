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

std::vector<TagText> tagTexts(const PieceTags& tags)
{
    std::vector<TagText> texts;
    if (!tags.title.empty())
        texts.push_back({TagField::Title, tags.title});
    if (!tags.album.empty())
        texts.push_back({TagField::Album, tags.album});
    return texts;
}
