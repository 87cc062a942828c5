#pragma once
// Findings about a piece that only its BGM file tells: whether the data can be read as a
// conversion reads it, and how its loop seam sounds.
#include "check/findings.h"
#include "loops/loop_seam.h"
#include "writers/wave_writer.h"

#include <string>

struct PieceDataCheck {
    Findings findings;
    LoopSeam seam;
};

enum class DataRead { Read, Missing, Short };

// Opens and reads the piece's data from its BGM file exactly as a conversion does, into buffer.
DataRead readPieceData(const MusicEntry& entry, const std::string& bgmFolder, WaveBuffer& buffer);

// Opens and reads the piece's data exactly as a conversion does, into buffer (reused from
// piece to piece, so memory stays at the largest piece), and measures the loop seam.
PieceDataCheck checkPieceData(const MusicEntry& entry, const std::string& bgmFolder, WaveBuffer& buffer);
