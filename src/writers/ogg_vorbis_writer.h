#pragma once
// Ogg Vorbis files through libvorbis at a chosen quality, as long in frames as the WAVE file.
#include "writers/piece_writer.h"

class OggVorbisWriter : public PieceWriter {
public:
    // quality: -1 (smallest) to 10 (best), as libvorbis's quality times ten.
    explicit OggVorbisWriter(float quality) : quality_(quality) {}

    const char* formatName() const override { return "Ogg Vorbis"; }
    FormatRefusal refusal(const MusicEntry& entry) const override;
    bool processorBound() const override { return true; }
    PieceOutcome write(FileHandle& output, const PieceToWrite& piece, WaveBuffer& buffer,
                       ConversionHooks& hooks) const override;

private:
    float quality_;
};
