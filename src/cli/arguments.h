#pragma once
// The command line of morlo-cli.
#include "writers/writer_for_format.h"
#include "definition/output_options.h"

#include <cstdint>
#include <string>
#include <vector>

struct CliArguments {
    enum class Command { List, Convert, Check };
    Command command = Command::List;
    std::string definitionPath;
    std::string bgmFolder;
    std::string outputFolder;
    std::uint32_t loopCount = defaultLoopCount;
    std::uint32_t fadeSeconds = defaultFadeSeconds;
    std::string only; // piece numbers such as "0,2-4"; empty for all
    bool overwrite = false;
    bool skipExisting = false; // convert: keep every existing output file without asking
    bool json = false;    // list and check: one JSON document on stdout
    FileChoices choices;  // what the files carry beyond the plain WAVE file (list and convert),
                          // and a full fade (every command)
    std::string playlist; // convert: the playlist's file name in the output folder; empty for none
    OutputFormat format = OutputFormat::Wave; // list and convert
    float quality = defaultVorbisQuality;     // convert: Ogg Vorbis's quality, -1 to 10
    bool toStandardOutput = false;            // convert: the one chosen piece to standard output
    bool help = false;                        // print the usage and nothing else
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

// morlo-cli's usage in the language in use: the forms of its command line, then a line for each
// option with its default where it has one.
std::string usageText();
