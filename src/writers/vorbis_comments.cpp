#include "writers/vorbis_comments.h"

#include "definition/output_rule.h"
#include "platform/native_text.h"
#include "version_text.h"

VorbisComments vorbisComments(const PieceToWrite& piece)
{
    VorbisComments comments;
    const PieceTags& tags = piece.tags;
    if (piece.options.choices.tags) {
        for (const TagText& tag : tagTexts(tags))
            comments.emplace_back(tag.field == TagField::Title ? "TITLE" : "ALBUM", utf8Text(tag.text));
        comments.emplace_back("TRACKNUMBER", std::to_string(tags.track));
        comments.emplace_back("TRACKTOTAL", std::to_string(tags.total));
        comments.emplace_back("ENCODER", versionText);
    }
    const LoopFrames loop = writtenLoop(piece.entry, piece.options);
    if (loop.end > loop.start) {
        comments.emplace_back("LOOPSTART", std::to_string(loop.start));
        comments.emplace_back("LOOPLENGTH", std::to_string(loop.end - loop.start));
    }
    return comments;
}
