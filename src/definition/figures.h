#pragma once
// What the music list and the totals show for a piece: the size and playing time of the file
// that would be written for the loop count and fade in force.
#include "definition/music_entry.h"
#include "definition/output_options.h"

#include <cstdint>
#include <string>

struct PieceFigures {
    std::uint64_t fileSize = 0;    // bytes, not wrapped around
    std::uint64_t playSeconds = 0; // whole seconds, rounded down
    bool timeKnown = false;        // false when the format gives 0 bytes per second
    bool writable = false;         // false when a run would refuse the piece (writable_rule.h)
    bool sizeKnown = true;         // false when the format's size is only known once written
};

// Sums over the ticked pieces; a piece that cannot be written adds nothing.
struct FigureTotals {
    std::uint64_t bytes = 0;
    std::uint64_t seconds = 0;

    void add(const PieceFigures& figures);
};

// (fmt_bits × fmt_channels × fmt_samples modulo 2^32) / 8: the bytes per second of the figures.
// Not bytesPerSecond (output_rule.h), on purpose: the file needs whole-byte frames, so its rate
// rounds the frame down first, while the list's figures are a rule of their own that users see;
// neither may follow the other. They agree for every real format (bits × channels a multiple
// of 8, the product below 2^32). Otherwise the list's time and size differ from the file's:
// 12-bit mono at 1000 frames a second is 1500 bytes a second here, 1000 in the header. The test
// Figures.ListRateIsNotTheHeaderRate fails when one is made into the other.
std::uint32_t figureBytesPerSecond(const MusicEntry& entry);
// trailingBytes: what the file carries behind its data (PieceWriter::trailingBytes); it adds to
// the size and to nothing else.
PieceFigures pieceFigures(const MusicEntry& entry, const OutputOptions& options, std::uint32_t trailingBytes = 0);

// The loop count of the piece of entry: options.loopCount, or with options.lengthSeconds the smallest
// count from 0 to 999 whose playSeconds (as pieceFigures makes them, with the fade asked for) reach
// that length; 999 when none does, as for a piece whose time is not known.
std::uint32_t pieceLoopCount(const MusicEntry& entry, const OutputOptions& options);
// options with the piece's own loop count: what every figure, check and file of the piece is made from.
OutputOptions pieceOptions(const MusicEntry& entry, const OutputOptions& options);

// "  0", " 46", "  1,234", " 22,764,046", "1,234,567,890".
std::string formatSize(std::uint64_t bytes);
// "0:00", "1:01", "59:59", "1:00:00".
std::string formatTime(std::uint64_t seconds);
// formatTime of the piece, or a placeholder when it cannot be written or its time is not defined.
std::string pieceTimeText(const PieceFigures& figures);
// formatSize of the piece, "出力不可" when it cannot be written, or "書くまで不明" when its format's
// size is only known once written.
std::string pieceSizeText(const PieceFigures& figures);
// "合計時間 : 2:09 合計サイズ :  22,764,046"; the size "書くまで不明" when the format's sizes are not
// known before writing.
std::string totalsText(std::uint64_t seconds, std::uint64_t bytes, bool sizeKnown = true);
