#pragma once
// The comments FLAC and Ogg Vorbis files carry, as music players and game engines read them.
#include "writers/piece_writer.h"

#include <string>
#include <utility>
#include <vector>

using VorbisComments = std::vector<std::pair<std::string, std::string>>;

// Names and UTF-8 values, in this order: with choices.tags TITLE (when the piece has one), ALBUM,
// TRACKNUMBER, TRACKTOTAL and ENCODER; with choices.loopPoints LOOPSTART and LOOPLENGTH in frames
// when the file holds a loop (as for a WAVE file's smpl chunk).
VorbisComments vorbisComments(const PieceToWrite& piece);

