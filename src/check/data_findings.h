#pragma once
// Findings about a piece that only its BGM file tells: whether the data can be read as a
// conversion reads it, and whether its loop runs on as the music does.
#include "check/findings.h"
#include "check/loop_judgement.h"
#include "writers/wave_writer.h"

#include <string>

struct PieceDataCheck {
    Findings findings;
    LoopJudgement loop;
};

enum class DataRead { Read, Missing, Short };

// Opens and reads the piece's data from its BGM file exactly as a conversion does, into buffer.
DataRead readPieceData(const MusicEntry& entry, const std::string& bgmFolder, WaveBuffer& buffer);

// Opens and reads the piece's data exactly as a conversion does, into buffer (reused from
// piece to piece, so memory stays at the largest piece), and judges the loop.
PieceDataCheck checkPieceData(const MusicEntry& entry, const std::string& bgmFolder, WaveBuffer& buffer);
