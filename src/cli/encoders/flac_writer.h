#pragma once
// FLAC files through libFLAC at its default compression level: they decode to the WAVE file's
// sample data bit for bit.
#include "convert/piece_writer.h"

class FlacWriter : public PieceWriter {
public:
    std::string outputName(const std::string& definitionName) const override;
    std::string refusal(const MusicEntry& entry) const override;
    PieceOutcome write(FileHandle& output, const PieceToWrite& piece, WaveBuffer& buffer,
                       ConversionHooks& hooks) override;
};
