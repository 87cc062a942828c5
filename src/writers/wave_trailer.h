#pragma once
// What a file carries behind its sample data when the run's choices ask for it. In this order:
// the loop in a "smpl" chunk, so that a file with tags too is laid out as the loop-point file up
// to them; the tags in a "LIST" chunk of type "INFO" (the definition's Shift-JIS texts, as
// Windows programs read INFO in the system's code page, or UTF-8 when the choices say so, as
// players built on common decoding libraries read it); last the same tags as an ID3v2.4 tag
// in an "id3 " chunk (UTF-8), where a tag editor can grow it without moving another chunk.
// The bytes and their size come from here alone, so that the header, the size limit and the
// figures count exactly what the writer writes.
#include "writers/piece_to_write.h"

#include <cstdint>
#include <vector>

// Empty when the choices add nothing. Odd data is followed by a pad byte first, so that every
// chunk starts on an even offset. No "smpl" chunk when the file holds no loop (writtenLoop).
std::vector<std::uint8_t> waveTrailer(const PieceToWrite& piece);
