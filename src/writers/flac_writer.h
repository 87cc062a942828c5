#pragma once
// FLAC files through libFLAC at its default compression level: they decode to the WAVE file's
// sample data bit for bit.
#include "writers/piece_writer.h"

class FlacWriter : public PieceWriter {
public:
    const char* formatName() const override { return "FLAC"; }
    FormatRefusal refusal(const MusicEntry& entry) const override;
    bool processorBound() const override { return true; }
    PieceOutcome write(FileHandle& output, const PieceToWrite& piece, WaveBuffer& buffer,
                       ConversionHooks& hooks) const override;
};
