#include "writers/wave_trailer.h"

#include "definition/output_rule.h"
#include "platform/native_text.h"
#include "version_text.h"
#include "writers/riff_bytes.h"

#include <string>

namespace {

// One endless forward loop over the first repetition of the loop, its last frame included.
void appendLoopPoints(RiffBytes& out, const MusicEntry& entry, LoopFrames frames)
{
    const std::uint32_t rate = entry.fmt_samples;
    std::vector<std::uint8_t> body;
    RiffBytes fields(body);
    fields.u32(0); // manufacturer
    fields.u32(0); // product
    fields.u32(rate == 0 ? 0 : (1000000000u + rate / 2) / rate); // nanoseconds per frame
    fields.u32(60);                                              // unity note: middle C
    fields.u32(0);                                               // pitch fraction
    fields.u32(0);                                               // SMPTE format
    fields.u32(0);                                               // SMPTE offset
    fields.u32(1);                                               // loops
    fields.u32(0);                                               // sampler data
    fields.u32(0);                                               // cue point id
    fields.u32(0);                                               // forward loop
    fields.u32(frames.start);
    fields.u32(frames.end - 1);
    fields.u32(0); // fraction
    fields.u32(0); // play count: endless
    out.chunk("smpl", body);
}

// A NUL-terminated text, padded to an even length by the chunk.
void appendInfoText(RiffBytes& out, const char (&id)[5], const std::string& text)
{
    std::vector<std::uint8_t> body(text.begin(), text.end());
    body.push_back(0);
    out.chunk(id, body);
}

void appendInfo(RiffBytes& out, const PieceTags& tags, InfoText encoding)
{
    std::vector<std::uint8_t> body;
    RiffBytes list(body);
    list.tag("INFO");
    for (const TagText& tag : tagTexts(tags))
        appendInfoText(list, tag.field == TagField::Title ? "INAM" : "IPRD",
                       encoding == InfoText::Utf8 ? utf8Text(tag.text) : tag.text);
    appendInfoText(list, "ITRK", std::to_string(tags.track));
    appendInfoText(list, "ISFT", versionText);
    out.chunk("LIST", body);
}

// ID3 sizes keep the top bit of every byte clear, most significant byte first.
void appendSyncSafe(std::vector<std::uint8_t>& out, std::uint32_t size)
{
    for (int shift = 21; shift >= 0; shift -= 7)
        out.push_back(static_cast<std::uint8_t>((size >> shift) & 0x7F));
}

void appendId3Text(std::vector<std::uint8_t>& frames, const char (&id)[5], const std::string& utf8)
{
    RiffBytes(frames).tag(id);
    appendSyncSafe(frames, static_cast<std::uint32_t>(utf8.size() + 1));
    frames.insert(frames.end(), {0, 0, 3}); // no frame flags; UTF-8
    frames.insert(frames.end(), utf8.begin(), utf8.end());
}

void appendId3(RiffBytes& out, const PieceTags& tags)
{
    std::vector<std::uint8_t> frames;
    for (const TagText& tag : tagTexts(tags))
        appendId3Text(frames, tag.field == TagField::Title ? "TIT2" : "TALB", utf8Text(tag.text));
    appendId3Text(frames, "TRCK", std::to_string(tags.track) + "/" + std::to_string(tags.total));
    std::vector<std::uint8_t> tag = {'I', 'D', '3', 4, 0, 0}; // version 2.4.0, no flags
    appendSyncSafe(tag, static_cast<std::uint32_t>(frames.size()));
    tag.insert(tag.end(), frames.begin(), frames.end());
    out.chunk("id3 ", tag);
}

} // namespace

std::vector<std::uint8_t> waveTrailer(const PieceToWrite& piece)
{
    const MusicEntry& entry = piece.entry;
    std::vector<std::uint8_t> trailer;
    RiffBytes out(trailer);
    const LoopFrames loop = writtenLoop(entry, piece.options);
    if (loop.end > loop.start)
        appendLoopPoints(out, entry, loop);
    if (piece.options.choices.tags) {
        appendInfo(out, piece.tags, piece.options.choices.infoText);
        appendId3(out, piece.tags);
    }
    if (!trailer.empty() && dataLength(entry, piece.options) % 2 != 0)
        trailer.insert(trailer.begin(), 0);
    return trailer;
}
