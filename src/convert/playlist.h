#pragma once
// The playlist of a run: an extended M3U file in UTF-8 beside the pieces, so that a player opens
// the album in its order.
#include "convert/convert_pieces.h"

#include <cstdint>
#include <string>
#include <vector>

// "#EXTM3U", then for each file "#EXTINF:" with the playing time in whole seconds as the list
// shows it (-1 when the format gives none) and the title (a loop file's marked as such), and the
// file's name on a line of its own.
std::string playlistText(const LoopDefinition& definition, const std::vector<PieceFile>& files,
                         const OutputOptions& options);

// Writes text as the playlist at path, whole or not at all, after the same question as a piece
// when a file is there (mayWrite).
PieceResult writePlaylist(const std::string& path, const std::string& text, ConversionFrontEnd& frontEnd);
