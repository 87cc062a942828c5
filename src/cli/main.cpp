// morlo-cli: lists a loop definition's pieces with their figures, or writes them as WAVE files.
#include "cli/arguments.h"
#include "cli/terminal_front_end.h"
#include "convert/convert_pieces.h"
#include "definition/figures.h"
#include "definition/loop_definition.h"
#include "platform/native_text.h"

#include <cstdio>

namespace {

constexpr int exitSuccess = 0;
constexpr int exitFailures = 1;
constexpr int exitUsage = 2;

int listPieces(const LoopDefinition& definition, const CliArguments& arguments)
{
    std::printf("%s\n", nativeText(definition.albumTitle()).c_str());
    FigureTotals totals;
    const auto& entries = definition.entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const MusicEntry& entry = entries[i];
        PieceFigures figures = pieceFigures(entry, arguments.loopCount, arguments.fadeSeconds);
        totals.add(figures);
        std::printf("%4u\t%s\t%s\t%s\t%s\t%s\n", static_cast<unsigned>(i), nativeText(entry.title).c_str(),
                    pieceTimeText(figures).c_str(), pieceSizeText(figures).c_str(),
                    nativeText(entry.file).c_str(), nativeText(entry.wave_file).c_str());
    }
    std::printf("%s\n", totalsText(totals.seconds, totals.bytes).c_str());
    return exitSuccess;
}

int convert(const LoopDefinition& definition, const CliArguments& arguments)
{
    std::vector<std::int32_t> rows;
    if (arguments.only.empty()) {
        for (std::size_t i = 0; i < definition.entries().size(); ++i)
            rows.push_back(static_cast<std::int32_t>(i));
    } else {
        std::string problem;
        if (!parsePieceList(arguments.only, definition.entries().size(), rows, problem)) {
            std::fprintf(stderr, "morlo-cli: %s\n", problem.c_str());
            return exitUsage;
        }
    }
    OutputOptions options;
    options.loopCount = arguments.loopCount;
    options.fadeSeconds = arguments.fadeSeconds;
    options.bgmFolder = arguments.bgmFolder;
    options.outputFolder = arguments.outputFolder;

    TerminalFrontEnd frontEnd(conversionSteps(rows.size(), options.loopCount), arguments.overwrite);
    cancelOnInterrupt();
    ConversionCounts counts = convertPieces(definition, options, rows, frontEnd);
    if (!counts.cancelled)
        frontEnd.step();
    frontEnd.finish();
    if (counts.cancelled)
        std::fprintf(stderr, "morlo-cli: cancelled; %s\n",
                     counts.partLeft ? "the unfinished piece's incomplete file could not be removed"
                                     : "the pieces written before are kept, the unfinished one left no file");
    std::printf("出力終了(成功:%u個 失敗:%u個)\n", static_cast<unsigned>(counts.successes),
                static_cast<unsigned>(counts.failures));
    return counts.failures == 0 && !counts.cancelled ? exitSuccess : exitFailures;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> words(argv + 1, argv + argc);
    if (!words.empty() && (words[0] == "--help" || words[0] == "-h" || words[0] == "help")) {
        std::fputs(usageText, stdout);
        return exitSuccess;
    }
    CliArguments arguments;
    std::string problem;
    if (!parseArguments(words, arguments, problem)) {
        std::fprintf(stderr, "morlo-cli: %s\n%s", problem.c_str(), usageText);
        return exitUsage;
    }
    LoopDefinition definition;
    if (!definition.load(arguments.definitionPath)) {
        std::fprintf(stderr, "morlo-cli: %s is no loop definition file ([album] title is missing or the file "
                             "cannot be read)\n",
                     arguments.definitionPath.c_str());
        return exitUsage;
    }
    return arguments.command == CliArguments::Command::List ? listPieces(definition, arguments)
                                                            : convert(definition, arguments);
}
