#pragma once
// The kind of file a conversion run writes. Each writer answers for its own format: whether the
// format can hold a piece, its size when that is known before writing, and the
// file itself. WAVE is written by every build; FLAC and Ogg Vorbis by the builds that have their
// encoders (writer_for_format.h).
#include "convert/conversion_hooks.h"
#include "definition/figures.h"
#include "definition/music_entry.h"
#include "platform/file_handle.h"
#include "writers/format_refusal.h"
#include "writers/piece_to_write.h"
#include "writers/wave_writer.h"

#include <cstdint>
#include <optional>
#include <string>

class PieceWriter {
public:
    // The format's name, as messages name it.
    virtual const char* formatName() const = 0;
    // Why this format cannot hold the piece; none when it can. Asked before anything is created,
    // after the piece has passed pieceRefusal.
    virtual FormatRefusal refusal(const MusicEntry& entry) const = 0;
    // What the file carries behind its sample data, counted by the size limit.
    virtual std::uint32_t trailingBytes(const PieceToWrite&) const { return 0; }
    // Whether the format's files have sizes that follow from the definition; an encoder's are only
    // known once written.
    virtual bool knowsSizeBeforeWriting() const { return false; }
    // The file's size as the definition makes it; none when it is only known once written.
    virtual std::optional<std::uint64_t> sizeBeforeWriting(const PieceToWrite&) const { return std::nullopt; }
    // Whether writing a file keeps a processor busy (an encoder) rather than waiting on the disk:
    // only such files are worth writing several at once.
    virtual bool processorBound() const { return false; }
    // Writes the whole file to output, a new empty file or standard output: the sample data of
    // writeSamples from buffer, which holds the piece's data; one step per loop and one at the end.
    // Const, as a run with workers calls it for several pieces at once: a writer keeps nothing of
    // one file for the next.
    virtual PieceOutcome write(FileHandle& output, const PieceToWrite& piece, WaveBuffer& buffer,
                               ConversionHooks& hooks) const = 0;

    virtual ~PieceWriter() = default;
};

// The piece's figures as a list shows them for writer's files: its trailing bytes counted, not
// writable when the format cannot hold it either, the size known or not as the writer says.
PieceFigures figuresOf(const PieceToWrite& piece, const PieceWriter& writer);

// WAVE files as the window writes them.
class WaveFileWriter : public PieceWriter {
public:
    const char* formatName() const override { return "WAVE"; }
    FormatRefusal refusal(const MusicEntry&) const override { return {}; }
    std::uint32_t trailingBytes(const PieceToWrite& piece) const override;
    bool knowsSizeBeforeWriting() const override { return true; }
    std::optional<std::uint64_t> sizeBeforeWriting(const PieceToWrite& piece) const override;
    PieceOutcome write(FileHandle& output, const PieceToWrite& piece, WaveBuffer& buffer,
                       ConversionHooks& hooks) const override
    {
        return writeWaveFile(output, piece, buffer, hooks);
    }
};
