#pragma once
// The lengths of an output file: introduction, loopCount loops and a fade-out taken from the
// start of the loop, behind a 46-byte header. Unsigned 32-bit as the WAVE header holds them.
#include "definition/music_entry.h"
#include "definition/output_options.h"

#include <cstdint>
#include <string>

constexpr std::uint32_t waveHeaderSize = 46;

// Bytes of one sample frame: fmt_bits × fmt_channels / 8, rounded down, kept in 16 bits.
std::uint16_t blockAlign(const MusicEntry& entry);
// blockAlign × fmt_samples, as the header and the written file have it; the list's figures use
// their own (figureBytesPerSecond in figures.h says why).
std::uint32_t bytesPerSecond(const MusicEntry& entry);
// fade.seconds of data, never more than one loop unless the fade is full; none when the loop is
// empty, as there is nothing to fade. The product is taken in 64 bits so that a long fade of a
// wide format cannot wrap around to a short one; a full fade beyond 4 GiB wraps as dataLength
// does (fitsWaveHeader refuses it).
std::uint32_t fadeLength(const MusicEntry& entry, FadeRequest fade);
// loop_start + loopCount × loop_size + fadeLength, modulo 2^32.
std::uint32_t dataLength(const MusicEntry& entry, const OutputOptions& options);
// The true size of the output file at perSecond bytes a second, without wrap-around.
std::uint64_t exactFileSize(const MusicEntry& entry, const OutputOptions& options, std::uint32_t perSecond);

// Whether the loop lies within the piece's data: loop_start + loop_size ≤ wave_size, without wrap.
bool loopLiesInData(const MusicEntry& entry);
// Whether the output's sizes fit the 32-bit fields of a RIFF header, with trailingBytes (what the
// file carries behind its data) counted.
bool fitsWaveHeader(const MusicEntry& entry, const OutputOptions& options, std::uint32_t trailingBytes = 0);

// The loop as whole frames of the written file, [start, end): from the first frame that lies
// wholly within the loop, as many frames as the loop holds whole. A player that repeats them
// plays on as the file does, also when loop_start falls inside a frame. end > start when there is
// one.
struct LoopFrames {
    std::uint32_t start = 0;
    std::uint32_t end = 0;
};
LoopFrames loopFrames(const MusicEntry& entry);
// The loop the file carries as loop points: the choice made, a loop written (loopCount above 0)
// and at least one whole frame; none (start == end) otherwise.
LoopFrames writtenLoop(const MusicEntry& entry, const OutputOptions& options);

// The piece's file name in the output folder (Shift-JIS), track being its number in the tags
// (PieceTags::track), with mark ("-intro", "-loop" for a part of a split piece, else "") before
// the extension. From the definition: its name (splitName), which WAVE keeps as it is and FLAC
// and Ogg Vorbis give their own extension; or titleFileName with the mark and the format's
// extension as its ending, kept whole when the title is cut.
std::string outputName(const MusicEntry& entry, std::uint32_t track, const OutputOptions& options, const char* mark);
