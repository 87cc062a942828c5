// morlo-cli: lists a loop definition's pieces with their figures, checks them against their BGM
// files, finds where their music loops, or writes them as WAVE, FLAC or Ogg Vorbis files or to
// standard output.
#include "cli/arguments.h"
#include "cli/cancel_signals.h"
#include "cli/check_command.h"
#include "cli/command_line.h"
#include "cli/find_loop_command.h"
#include "cli/json_output.h"
#include "cli/messages.h"
#include "cli/terminal_front_end.h"
#include "cli/text_output.h"
#include "convert/convert_pieces.h"
#include "convert/playlist.h"
#include "definition/figures.h"
#include "definition/loop_definition.h"
#include "definition/output_rule.h"
#include "definition/writable_rule.h"
#include "loops/audio_file.h"
#include "platform/file_handle.h"
#include "platform/native_text.h"
#include "platform/output_folder.h"
#include "version_text.h"
#include "writers/writer_for_format.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <memory>
#include <tuple>

namespace {

constexpr int exitSuccess = 0;
constexpr int exitFailures = 1;
constexpr int exitUsage = 2;

// One line on stderr, in the program's name.
void complain(const std::string& problem) { printLine(stderr, "morlo-cli: " + problem); }

int listPieces(const LoopDefinition& definition, const CliArguments& arguments, const PieceWriter& writer)
{
    const OutputOptions& options = arguments.options;
    if (arguments.json) {
        printText(stdout, listJson(definition, options, writer));
        return exitSuccess;
    }
    const bool sizesKnown = writer.knowsSizeBeforeWriting();
    // What list shows of a size that an encoder only knows once it has written the file.
    const std::string sizeNotKnown = text(Message::SizeNotKnown);
    printLine(stdout, utf8Text(definition.albumTitle()));
    FigureTotals totals;
    const auto& entries = definition.entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const MusicEntry& entry = entries[i];
        const PieceToWrite piece = pieceToWrite(definition, i, options);
        const PieceFigures figures = figuresOf(piece, writer);
        totals.add(figures);
        char number[16];
        std::snprintf(number, sizeof number, "%4u", static_cast<unsigned>(i));
        const std::string size = !figures.writable ? text(Message::NotWritable)
                                 : sizesKnown      ? pieceSizeText(figures)
                                                   : sizeNotKnown;
        // The loop count each piece was given goes last, so that the columns before stay where they are.
        const std::string loops = options.lengthSeconds ? '\t' + std::to_string(piece.options.loopCount) : "";
        printLine(stdout, std::string(number) + '\t' + utf8Text(entry.title) + '\t' + pieceTimeText(figures) + '\t' +
                              size + '\t' + utf8Text(outputName(piece)) + '\t' + utf8Text(entry.wave_file) + loops);
    }
    printLine(stdout,
              text(Message::TotalsLine, {formatTime(totals.seconds), sizesKnown ? formatSize(totals.bytes) : sizeNotKnown}));
    return exitSuccess;
}

int checkPieces(const LoopDefinition& definition, const CliArguments& arguments)
{
    DefinitionCheck check = checkDefinition(definition, arguments.definitionPath, arguments.options);
    if (arguments.json)
        printText(stdout, checkJson(definition, check, arguments.options));
    else
        printCheck(definition, arguments.definitionPath, check);
    // Notes tell what is so, not what is wrong.
    return check.errors == 0 && check.warnings == 0 ? exitSuccess : exitFailures;
}

// A size as the totals line shows it, without the padding that lines up the list's column.
std::string trimmedSize(std::uint64_t bytes)
{
    std::string text = formatSize(bytes);
    return text.substr(text.find_first_not_of(' '));
}

// Why no file can be written into folder; empty when it can take files.
std::string outputFolderProblem(const std::string& folder)
{
    switch (outputFolderState(folder)) {
    case FolderState::Writable:
        break;
    case FolderState::Missing:
        return text(Message::OutputMissing, {folder});
    case FolderState::NotFolder:
        return text(Message::OutputNotFolder, {folder});
    case FolderState::NotWritable:
        return text(Message::OutputNotWritable, {folder});
    }
    return "";
}

// One line when the pieces will not all fit; the run still writes those that do. Only pieces whose
// sizes are known before writing count.
void warnWhenShortOfSpace(const LoopDefinition& definition, const OutputOptions& options,
                          const std::vector<std::int32_t>& rows, const PieceWriter& writer)
{
    std::uint64_t needed = 0;
    for (const PieceFile& file : pieceFiles(definition, rows, options)) {
        const PieceToWrite piece = pieceToWrite(definition, static_cast<std::size_t>(file.row), options, file.part);
        if (pieceRefusal(piece.entry, piece.options, writer.trailingBytes(piece)) != PieceRefusal::None)
            continue;
        needed += writer.sizeBeforeWriting(piece).value_or(0);
    }
    std::uint64_t free = 0;
    if (needed > 0 && freeBytes(options.outputFolder, free) && needed > free)
        complain(text(Message::ShortOfSpace, {trimmedSize(needed), trimmedSize(free)}));
}

// The files in the output folder after the run, in the definition's order, an introduction before
// its loop: those written and those whose existing file the user chose to keep. A failed piece's
// file, should an older one of its name be there, is not this run's.
std::vector<PieceFile> filesInFolder(const LoopDefinition& definition, const ConversionCounts& counts,
                                     const OutputOptions& options, const TerminalFrontEnd& frontEnd)
{
    std::vector<PieceFile> files = counts.written;
    for (const PieceFile& file : counts.kept) {
        const PieceToWrite piece = pieceToWrite(definition, static_cast<std::size_t>(file.row), options, file.part);
        if (frontEnd.keptByChoice(joinPath(options.outputFolder, utf8Text(outputName(piece)))))
            files.push_back(file);
    }
    // PiecePart lists the introduction before the loop.
    std::sort(files.begin(), files.end(),
              [](const PieceFile& a, const PieceFile& b) { return std::tie(a.row, a.part) < std::tie(b.row, b.part); });
    return files;
}

// The playlist of the files in the output folder, after a run that was not cancelled and left
// any. It fails the run when it was asked for and not written (the reason is on stderr), unless
// the user chose to keep the one there: unlike a piece's, its answer n is counted nowhere, so it
// fails nothing. A cancel at its question cancels the run.
PlaylistEnd writePlaylistOf(const LoopDefinition& definition, const CliArguments& arguments, ConversionCounts& counts,
                            TerminalFrontEnd& frontEnd)
{
    PlaylistEnd end;
    if (arguments.playlist.empty() || counts.cancelled)
        return end;
    const std::vector<PieceFile> files = filesInFolder(definition, counts, arguments.options, frontEnd);
    if (files.empty())
        return end;
    const std::string path = joinPath(arguments.options.outputFolder, arguments.playlist);
    const std::string text = playlistText(definition, files, arguments.options);
    const PieceResult result = writePlaylist(path, text, frontEnd);
    counts.cancelled = result.end == PieceEnd::Cancelled;
    const bool keptByChoice = result.failure == PieceFailure::OverwriteRefused && frontEnd.keptByChoice(path);
    if (result.end == PieceEnd::Failed && !keptByChoice)
        frontEnd.fileFailed(arguments.playlist, result);
    end.tried = true;
    end.result = result;
    end.failsRun = !(result.end == PieceEnd::Written || result.end == PieceEnd::Skipped || keptByChoice);
    return end;
}

int convert(const LoopDefinition& definition, const CliArguments& arguments, const PieceWriter& writer)
{
    std::vector<std::int32_t> rows;
    std::string problem;
    if (!chosenPieces(arguments.only, definition.entries().size(), rows, problem)) {
        printText(stderr, usageErrorText(problem, arguments.command));
        return exitUsage;
    }
    const OutputOptions& options = arguments.options;
    if (options.toStandardOutput) {
        if (rows.size() != 1) {
            printText(stderr, usageErrorText(text(Message::StdoutOnePiece), arguments.command));
            return exitUsage;
        }
        ignoreClosedPipes();
    } else {
        problem = outputFolderProblem(options.outputFolder);
        if (!problem.empty()) {
            complain(problem);
            return exitUsage;
        }
        warnWhenShortOfSpace(definition, options, rows, writer);
    }

    using Existing = TerminalFrontEnd::Existing;
    TerminalFrontEnd frontEnd(conversionSteps(definition, rows, options),
                              arguments.overwrite      ? Existing::ReplaceAll
                              : arguments.skipExisting ? Existing::KeepAll
                                                       : Existing::Ask,
                              options.bgmFolder, writer);
    cancelOnSignals();
    const unsigned workers = arguments.jobs > 0 ? arguments.jobs : processorCount();
    ConversionCounts counts = convertPieces(definition, options, rows, frontEnd, writer, workers);
    const PlaylistEnd playlist = writePlaylistOf(definition, arguments, counts, frontEnd);
    if (!counts.cancelled)
        frontEnd.step();
    frontEnd.finish();
    if (counts.cancelled)
        complain(text(options.toStandardOutput ? Message::CancelledStandardOutput
                      : counts.partLeft        ? Message::CancelledPartLeft
                                               : Message::CancelledClean));
    const std::string written = std::to_string(counts.successes), failed = std::to_string(counts.failures);
    // Standard output carries the piece alone, or the document alone; the exit status tells how it
    // went. The line without skipped pieces is the window's own, which scripts may look for.
    if (arguments.json)
        printText(stdout, convertJson(definition, rows, counts, options, arguments.playlist, playlist));
    else if (!options.toStandardOutput)
        printLine(stdout, counts.skipped == 0
                              ? text(Message::EndLine, {written, failed})
                              : text(Message::EndLineSkipped, {written, failed, std::to_string(counts.skipped)}));
    return counts.failures == 0 && !counts.cancelled && !playlist.failsRun ? exitSuccess : exitFailures;
}

// Why the definition file was refused, as the end of a one-line message. The profile reading
// takes a file that does not exist for an empty one, and an empty one for one without a title.
std::string refusalText(ProfileRefusal refusal, const std::string& path)
{
    switch (refusal) {
    case ProfileRefusal::None:
        break;
    case ProfileRefusal::PathTooLong:
        return text(Message::PathTooLong);
    case ProfileRefusal::Folder:
        return text(Message::IsFolder);
    case ProfileRefusal::NotRegularFile:
        return text(Message::NotRegularFile);
    case ProfileRefusal::TooLarge:
        return text(Message::LargerThan, {std::to_string(largestProfileBytes >> 20)});
    case ProfileRefusal::Unreadable:
        return text(Message::Unreadable);
    }
    if (!pathExists(path))
        return text(Message::DoesNotExist);
    FileHandle file;
    std::uint8_t byte = 0;
    if (file.openRead(path) && file.readAt(0, 1, &byte) == 0)
        return text(Message::IsEmpty);
    return text(Message::NoAlbumTitle);
}

int run(const std::vector<std::string>& words)
{
    if (!words.empty() && (words[0] == "--help" || words[0] == "-h" || words[0] == "help")) {
        printText(stdout, usageText());
        return exitSuccess;
    }
    if (words.size() == 1 && words[0] == "--version") {
        printLine(stdout, versionText);
        return exitSuccess;
    }
    CliArguments arguments;
    std::string problem;
    if (!parseArguments(words, arguments, problem)) {
        printText(stderr, usageErrorText(problem, commandNamed(words.empty() ? "" : words[0])));
        return exitUsage;
    }
    if (arguments.help) {
        printText(stdout, usageText());
        return exitSuccess;
    }
    // Binary data would garble the terminal and could drive it: refused before anything is read.
    if (arguments.options.toStandardOutput && isTerminal(stdout)) {
        complain(text(Message::StdoutIsTerminal));
        return exitUsage;
    }
    for (const std::string& limited : arguments.limitedCounts)
        complain(limited);
    std::unique_ptr<PieceWriter> writer = makePieceWriter(arguments.options);
    if (arguments.command == CliArguments::Command::FindLoop && looksLikeAudio(arguments.definitionPath))
        return findLoopInAudio(arguments);
    LoopDefinition definition;
    ProfileRefusal refusal = ProfileRefusal::None;
    if (!definition.load(arguments.definitionPath, &refusal)) {
        complain(text(Message::NotDefinition,
                      {arguments.definitionPath, refusalText(refusal, arguments.definitionPath)}));
        return exitUsage;
    }
    switch (arguments.command) {
    case CliArguments::Command::List:
        return listPieces(definition, arguments, *writer);
    case CliArguments::Command::Check:
        return checkPieces(definition, arguments);
    case CliArguments::Command::FindLoop:
        return findLoopInDefinition(definition, arguments);
    case CliArguments::Command::Convert:
        break;
    }
    return convert(definition, arguments, *writer);
}

} // namespace

int main(int argc, char** argv)
{
    // The standard library reports running out of memory and the like by throwing; the user
    // gets one line and the usual status, never an abort.
    useLanguage(userLanguage());
    try {
        std::vector<std::string> words;
        std::string problem;
        if (!commandLineWords(argc, argv, words, problem)) {
            complain(problem);
            return exitUsage;
        }
        return run(words);
    } catch (const std::exception& problem) {
        complain(problem.what());
        return exitUsage;
    }
}
