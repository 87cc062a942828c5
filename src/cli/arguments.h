#pragma once
// The command line of morlo-cli.
#include "definition/output_options.h"
#include "loops/loop_finder.h"

#include <cstdint>
#include <string>
#include <vector>

struct CliArguments {
    enum class Command { List, Convert, Check, FindLoop };
    Command command = Command::List;
    std::string definitionPath;
    // The run's loop count, fade, folders, choices (list and convert; a full fade for every
    // command), format (list and convert), Ogg Vorbis quality and standard output (convert).
    OutputOptions options;
    std::string only; // piece numbers such as "0,2-4"; empty for all
    LoopSearch search; // find-loop: the lengths allowed and where the loop is heard
    bool overwrite = false;
    bool skipExisting = false; // convert: keep every existing output file without asking
    bool json = false;    // list, check and find-loop: one JSON document on stdout
    std::string playlist; // convert: the playlist's file name in the output folder; empty for none
    std::uint32_t jobs = 0; // convert: FLAC or Ogg files encoded at once; 0 for one per processor
    bool help = false;    // print the usage and nothing else
    bool tagText = false; // --tag-text was given, which only --tags makes a choice
};

// False with a one-line reason when the arguments make no sense. With --help the rest is not
// judged beyond the options before it.
bool parseArguments(const std::vector<std::string>& arguments, CliArguments& parsed, std::string& problem);

// A count as the main window reads its fields: a decimal number, anything outside 0..999 being
// 999. False when the text is no number at all.
bool parseCount(const std::string& text, std::uint32_t& count);

// "0,2-4" → 0, 2, 3, 4 in ascending order without repeats, each below pieceCount.
bool parsePieceList(const std::string& text, std::size_t pieceCount, std::vector<std::int32_t>& rows,
                    std::string& problem);

// The pieces --only chooses: every piece of pieceCount when it was not given, else as parsePieceList.
bool chosenPieces(const std::string& only, std::size_t pieceCount, std::vector<std::int32_t>& rows,
                  std::string& problem);

// morlo-cli's usage in the language in use: the forms of its command line, then a line for each
// option with its default where it has one.
std::string usageText();
