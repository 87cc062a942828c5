#pragma once
// Cutting one piece out of its BGM wave file and writing it as a complete WAVE file.
// All work goes in chunks of at most 1 MiB with a yield after each, so a window stays alive.
#include "convert/conversion_hooks.h"
#include "definition/music_entry.h"
#include "definition/output_options.h"
#include "platform/file_handle.h"
#include "writers/piece_to_write.h"

#include <cstdint>
#include <vector>

constexpr std::uint32_t waveChunkSize = 0x100000;
constexpr std::size_t waveBufferReserve = 52428800;

using WaveBuffer = std::vector<std::uint8_t>;

enum class PieceOutcome {
    Completed,
    Cancelled,
    Failed, // a short read, a failed or short write, or no memory for the piece
};

// Reads the piece's wave_size bytes at wave_start into buffer; one step when complete.
// The caller has checked loopLiesInData.
PieceOutcome readSourceRange(FileHandle& source, const MusicEntry& entry, WaveBuffer& buffer, ConversionHooks& hooks);

// Makes the piece's data, as readSourceRange read it, into the data of piece's part: a loop file's
// goes to the start, turned so that it begins at the cut (split_rule.h); the rest is not written.
// The data of a whole piece or an introduction stays as it is.
void arrangeForPart(const PieceToWrite& piece, WaveBuffer& buffer);

// Where a piece's sample data goes, in order: a WAVE file's data chunk, or an encoder.
class SampleSink {
public:
    // Takes the next length bytes of sample data; false when they could not be stored.
    virtual bool write(const std::uint8_t* bytes, std::uint32_t length) = 0;

protected:
    ~SampleSink() = default;
};

// Gives sink the piece's sample data: introduction, loopCount loops and the faded start of the
// loop, one step per loop. A fade within one loop is applied to the buffer in place; a full fade
// that runs on past the loop's end goes through a scratch buffer of one chunk, so the loop stays
// as it is for the next time round.
// The caller has checked loopLiesInData and fitsWaveHeader.
PieceOutcome writeSamples(SampleSink& sink, const MusicEntry& entry, const OutputOptions& options, WaveBuffer& buffer,
                          ConversionHooks& hooks);

// Writes header, introduction, loopCount loops and the faded start of the loop to a new, empty
// file, then the trailer the choices ask for (waveTrailer, counted in the header): one step per
// loop and one at the end. The fade changes the buffer as writeSamples says.
// The caller has checked loopLiesInData and fitsWaveHeader (with the trailer's size).
PieceOutcome writeWaveFile(FileHandle& output, const PieceToWrite& piece, WaveBuffer& buffer, ConversionHooks& hooks);
