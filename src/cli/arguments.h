#pragma once
// The command line of morlo-cli.
#include "definition/output_options.h"
#include "loops/loop_finder.h"

#include <cstdint>
#include <optional>
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
    bool json = false;    // one JSON document on stdout (convert: at the end of the run)
    std::string playlist; // convert: the playlist's file name in the output folder; empty for none
    std::uint32_t jobs = 0; // convert: FLAC or Ogg files encoded at once; 0 for one per processor
    bool help = false;    // print the usage and nothing else
    std::vector<std::string> given; // the options given, by their long names, in order
    // Lines for stderr, one for each count given above the largest, which counts as the largest.
    std::vector<std::string> limitedCounts;
};

// False with a one-line reason when the arguments make no sense. With --help the rest is not
// judged beyond the options before it.
bool parseArguments(const std::vector<std::string>& arguments, CliArguments& parsed, std::string& problem);

// A count as --loops and --fade take it: a decimal number, anything above 999 being 999 (limited
// says so). False when the text is no number at all, or a negative one: the main window's fields
// take that for 999 (limitCount), a command line refuses it.
bool parseCount(const std::string& text, std::uint32_t& count, bool& limited);

// "0,2-4" → 0, 2, 3, 4 in ascending order without repeats, each below pieceCount.
bool parsePieceList(const std::string& text, std::size_t pieceCount, std::vector<std::int32_t>& rows,
                    std::string& problem);

// The pieces --only chooses: every piece of pieceCount when it was not given, else as parsePieceList.
bool chosenPieces(const std::string& only, std::size_t pieceCount, std::vector<std::int32_t>& rows,
                  std::string& problem);

// The command word names; none when it names no command.
std::optional<CliArguments::Command> commandNamed(const std::string& word);

// The two lines a usage error prints on stderr: "morlo-cli: " and the problem, then where the usage
// of command is told (the program's usage when no command was given).
std::string usageErrorText(const std::string& problem, std::optional<CliArguments::Command> command);

// morlo-cli's usage in the language in use: the forms of its command line, then a line for each
// option with its default where it has one.
std::string usageText();
