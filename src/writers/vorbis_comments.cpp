#include "writers/vorbis_comments.h"

#include "definition/output_rule.h"
#include "platform/native_text.h"
#include "version_text.h"

VorbisComments vorbisComments(const PieceToWrite& piece)
{
    VorbisComments comments;
    const PieceTags& tags = piece.tags;
    if (piece.options.choices.tags) {
        if (!tags.title.empty())
            comments.emplace_back("TITLE", utf8Text(tags.title));
        comments.emplace_back("ALBUM", utf8Text(tags.album));
        comments.emplace_back("TRACKNUMBER", std::to_string(tags.track));
        comments.emplace_back("TRACKTOTAL", std::to_string(tags.total));
        comments.emplace_back("ENCODER", versionText);
    }
    const MusicEntry& entry = piece.entry;
    const std::uint16_t frame = blockAlign(entry);
    if (piece.options.choices.loopPoints && piece.options.loopCount > 0 && frame > 0 && entry.loop_size / frame > 0) {
        comments.emplace_back("LOOPSTART", std::to_string(entry.loop_start / frame));
        comments.emplace_back("LOOPLENGTH", std::to_string(entry.loop_size / frame));
    }
    return comments;
}
