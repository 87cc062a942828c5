#pragma once
// Converting one piece in two halves, of which both kinds of run are made. The reading half runs on
// the thread that drives the front end: it shows the piece, refuses it, reads its data and asks
// before an existing file is replaced. The writing half needs nothing of the front end, so a run
// with workers hands it to one. Each half returns how the piece ended and tells nobody: the run
// tells the front end, in the order of its rows.
#include "convert/convert_pieces.h"

#include <cstdint>
#include <string>

// Passes steps on to hooks and counts them, so that a piece that ends early can make up the rest
// it was due and the progress still ends full.
class PieceSteps : public ConversionHooks {
public:
    PieceSteps(ConversionHooks& hooks, std::uint64_t due) : hooks_(hooks), due_(due) {}

    void step() override
    {
        ++made_;
        hooks_.step();
    }
    void yieldOnce() override { hooks_.yieldOnce(); }
    bool isCancelled() override { return hooks_.isCancelled(); }

    void makeUpRest()
    {
        while (made_ < due_)
            step();
    }

private:
    ConversionHooks& hooks_;
    std::uint64_t due_;
    std::uint64_t made_ = 0;
};

// The steps of a whole piece, and of its writing half: one per loop and one at the end (the
// reading half makes the other one when the data is read).
inline std::uint64_t pieceSteps(std::uint32_t loopCount) { return loopCount + 2ull; }
inline std::uint64_t writingSteps(std::uint32_t loopCount) { return loopCount + 1ull; }

// The reading half. Written when the piece is to be written: to standard output with
// options.toStandardOutput, else at outputPath.
PieceResult readPiece(const PieceToWrite& piece, const PieceWriter& writer, WaveBuffer& buffer,
                      ConversionFrontEnd& frontEnd, ConversionHooks& steps, std::string& outputPath);

// The writing half of a file: writeWholeFile through writer.
PieceResult writePieceFile(const std::string& outputPath, const PieceToWrite& piece, const PieceWriter& writer,
                           WaveBuffer& buffer, ConversionHooks& steps);

// Whether the front end hears of a piece's end through pieceFailed: a failure, or a cancel that
// left the unfinished file behind.
bool toldAsFailure(const PieceResult& result);

// Adds the piece of file, ended as result, to counts.
void countPiece(ConversionCounts& counts, const PieceFile& file, const PieceResult& result);
