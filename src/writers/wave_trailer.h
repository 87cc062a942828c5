#pragma once
// What a file carries behind its sample data when the run's choices ask for it. In this order:
// the loop in a "smpl" chunk, so that a file with tags too is laid out as the loop-point file up
// to them; the tags in a "LIST" chunk of type "INFO" (the definition's Shift-JIS texts, as
// Windows programs read INFO in the system's code page); last the same tags as an ID3v2.4 tag
// in an "id3 " chunk (UTF-8), where a tag editor can grow it without moving another chunk.
// The bytes and their size come from here alone, so that the header, the size limit and the
// figures count exactly what the writer writes.
#include "definition/loop_definition.h"
#include "definition/output_options.h"
#include "definition/piece_tags.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Empty when the choices add nothing. Odd data is followed by a pad byte first, so that every
// chunk starts on an even offset. No "smpl" chunk when the file holds no loop (loopCount 0, or
// a loop shorter than a frame). A title or album that is empty is left out of both tags.
std::vector<std::uint8_t> waveTrailer(const MusicEntry& entry, const PieceTags& tags, std::uint32_t loopCount,
                                      std::uint32_t fadeSeconds, const FileChoices& choices);

// The trailer's size for the piece at index of definition: what the figures and the size limit
// add to the plain file.
std::uint32_t waveTrailerSize(const LoopDefinition& definition, std::size_t index, std::uint32_t loopCount,
                              std::uint32_t fadeSeconds, const FileChoices& choices);
