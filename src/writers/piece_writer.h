#pragma once
// The kind of file a conversion run writes. The WAVE writer is the one every build has; writers of
// other formats live outside the portable core, in the builds that have their encoders.
#include "convert/conversion_hooks.h"
#include "writers/format_refusal.h"
#include "writers/wave_trailer.h"
#include "writers/wave_writer.h"
#include "definition/figures.h"
#include "definition/music_entry.h"
#include "definition/output_options.h"
#include "definition/piece_tags.h"
#include "platform/file_handle.h"

#include <cstdint>
#include <string>
#include <vector>

// Everything a writer needs to know about the piece it writes.
struct PieceToWrite {
    const MusicEntry& entry;
    const PieceTags& tags;
    const OutputOptions& options;
};

class PieceWriter {
public:
    // The piece's file name in the output folder, from the definition's name (both Shift-JIS).
    virtual std::string outputName(const std::string& definitionName) const = 0;
    // The format's name, as messages name it.
    virtual const char* formatName() const = 0;
    // Why this format cannot hold the piece; none when it can. Asked before anything is created,
    // after the piece has passed pieceRefusal.
    virtual FormatRefusal refusal(const MusicEntry& entry) const = 0;
    // Writes the whole file to output, a new empty file or standard output: the sample data of
    // writeSamples from buffer, which holds the piece's data; one step per loop and one at the end.
    virtual PieceOutcome write(FileHandle& output, const PieceToWrite& piece, WaveBuffer& buffer,
                               ConversionHooks& hooks) = 0;
    // What follows the sample data in the file, counted by the size limit; nothing but in WAVE.
    virtual std::vector<std::uint8_t> trailer(const PieceToWrite&) const { return {}; }
    // Whether a file's size follows from the definition; an encoder's is only known once written.
    virtual bool knowsSizeBeforeWriting() const { return false; }

    virtual ~PieceWriter() = default;
};

// The piece's figures as a list shows them for writer's files: not writable when the format
// cannot hold it either.
PieceFigures formatFigures(const PieceWriter& writer, const MusicEntry& entry, std::uint32_t loopCount,
                           FadeRequest fade);

// WAVE files as the window writes them, under the definition's own names.
class WaveFileWriter : public PieceWriter {
public:
    std::string outputName(const std::string& definitionName) const override { return definitionName; }
    const char* formatName() const override { return "WAVE"; }
    FormatRefusal refusal(const MusicEntry&) const override { return {}; }
    PieceOutcome write(FileHandle& output, const PieceToWrite& piece, WaveBuffer& buffer,
                       ConversionHooks& hooks) override
    {
        return writeWaveFile(output, piece.entry, piece.options.loopCount, requestedFade(piece.options), buffer, hooks,
                             trailer(piece));
    }
    std::vector<std::uint8_t> trailer(const PieceToWrite& piece) const override
    {
        const OutputOptions& options = piece.options;
        return waveTrailer(piece.entry, piece.tags, options.loopCount, options.fadeSeconds, options.choices);
    }
    bool knowsSizeBeforeWriting() const override { return true; }
};
