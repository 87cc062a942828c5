#pragma once
// What one file of a run will be: its entry, its tags and the run's options (fade, choices,
// format, folders) with the piece's own loop count. Each front end builds it once per file and
// hands it to figures, lists and the run alike. A piece split into two files (OutputOptions::split)
// is two pieces to write, each a piece of its own to the writers: its entry and options describe
// that file alone.
#include "definition/loop_definition.h"
#include "definition/music_entry.h"
#include "definition/output_options.h"
#include "definition/piece_tags.h"
#include "definition/split_rule.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class PiecePart {
    Whole,        // the introduction, the loops and the fade-out
    Introduction, // "NAME-intro.EXT": the introduction alone, up to the cut (split_rule.h)
    Loop,         // "NAME-loop.EXT": one pass of the loop from the cut, no fade-out
};

// What the loop file's title carries after the piece's own, in its tags and the playlist.
inline constexpr char loopTitleMark[] = " (loop)";

struct PieceToWrite {
    // A part's data as arrangeForPart leaves it; its name and title stay the piece's (outputName
    // and tags.title tell the part).
    MusicEntry entry;
    PieceTags tags; // a loop file's title marked with loopTitleMark
    // pieceOptions, the loop count the piece's; a part's: no loop (introduction) or one (loop), no fade-out
    OutputOptions options;
    PiecePart part = PiecePart::Whole;
    SplitPoints cut; // a part's: where the piece is cut
};

// The piece at row of definition (row < entries().size()) as options make it: whole, or the part.
PieceToWrite pieceToWrite(const LoopDefinition& definition, std::size_t row, const OutputOptions& options,
                          PiecePart part = PiecePart::Whole);

// The file name of the piece, or of its part, in the output folder (Shift-JIS), as output_rule.h's
// outputName gives it with the part's mark ("-intro", "-loop").
std::string outputName(const PieceToWrite& piece);

// "intro", "loop" or "whole": the part as file names ("NAME-intro.EXT") and convert --json name it.
const char* partName(PiecePart part);

// One file of a run: the piece at row, whole or a part of it.
struct PieceFile {
    std::int32_t row = 0;
    PiecePart part = PiecePart::Whole;

    bool operator==(const PieceFile& other) const { return row == other.row && part == other.part; }
};

// The files of the pieces at rows, in their order: each piece whole; with options.split its
// introduction, when it has one, then its loop, when it holds a whole frame (a piece with
// neither writes its empty loop file). A piece the definition refuses (but for its size, which
// counts per file) and a row outside the definition stay whole: each is refused once, under its
// own name.
std::vector<PieceFile> pieceFiles(const LoopDefinition& definition, const std::vector<std::int32_t>& rows,
                                  const OutputOptions& options);
