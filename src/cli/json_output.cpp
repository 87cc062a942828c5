#include "cli/json_output.h"

#include "cli/messages.h"
#include "definition/figures.h"
#include "platform/native_text.h"

#include <nlohmann/json.hpp>

#include <cmath>

// Keys keep the order they are written in.
using json = nlohmann::ordered_json;

namespace {

json pieceJson(const LoopDefinition& definition, std::size_t number, const PieceFigures& figures)
{
    const MusicEntry& entry = definition.entries()[number];
    return json{{"number", number},
                {"section", musicSectionName(static_cast<std::uint32_t>(number))},
                {"title", utf8Text(entry.title)},
                {"file", utf8Text(entry.file)},
                {"wave_file", utf8Text(entry.wave_file)},
                {"fmt_channels", entry.fmt_channels},
                {"fmt_samples", entry.fmt_samples},
                {"fmt_bits", entry.fmt_bits},
                {"wave_start", entry.wave_start},
                {"wave_size", entry.wave_size},
                {"loop_start", entry.loop_start},
                {"loop_size", entry.loop_size},
                {"play_seconds", figures.timeKnown ? json(figures.playSeconds) : json()},
                {"output_bytes", figures.fileSize},
                {"writable", figures.writable}};
}

json optional(const std::optional<double>& value) { return value ? json(*value) : json(); }

// Milliseconds to a tenth, as the message has them.
double tenths(double milliseconds) { return std::round(milliseconds * 10) / 10; }

json suggestionJson(const LoopSuggestion& suggestion)
{
    return json{{"loop_start", suggestion.loop_start},
                {"loop_size", suggestion.loop_size},
                {"measure", optional(suggestion.measure)},
                {"loop_start_frame", suggestion.startFrame},
                {"loop_length_frames", suggestion.lengthFrames},
                {"start_shift_ms", tenths(suggestion.startShiftMs)},
                {"end_shift_ms", tenths(suggestion.endShiftMs)},
                {"difference", optional(suggestion.difference)}};
}

json findingJson(const Finding& finding, const LoopJudgement& loop)
{
    json object{{"level", levelText(finding.level)},
                {"code", finding.code},
                {"message", findingMessage(finding)}};
    if (std::string(finding.code) == "loop-seam") {
        const bool music = loop.judgedBy == JudgedBy::Music;
        object["judged_by"] = music ? "music" : "waveform";
        object["measure"] = loop.seam.measured ? json(loop.seam.measure) : json();
        object["difference"] = music ? json(loop.difference) : json();
        object["suggestion"] = loop.suggestion ? suggestionJson(*loop.suggestion) : json();
    }
    return object;
}

json findingsJson(const Findings& findings, const LoopJudgement& loop)
{
    json array = json::array();
    for (const Finding& finding : findings)
        array.push_back(findingJson(finding, loop));
    return array;
}

json listDocument(const LoopDefinition& definition, const OutputOptions& options, const PieceWriter& writer)
{
    const bool sizesKnown = writer.knowsSizeBeforeWriting();
    json pieces = json::array();
    FigureTotals totals;
    for (std::size_t i = 0; i < definition.entries().size(); ++i) {
        const PieceToWrite toWrite = pieceToWrite(definition, i, options);
        const PieceFigures figures = figuresOf(toWrite, writer);
        json piece = pieceJson(definition, i, figures);
        if (options.lengthSeconds)
            piece["loops"] = toWrite.options.loopCount;
        if (options.format != OutputFormat::Wave || options.names != OutputNames::Definition)
            piece["output_file"] = utf8Text(outputName(toWrite));
        if (options.format != OutputFormat::Wave) {
            piece["output_bytes"] = sizesKnown ? json(figures.fileSize) : json();
            piece["output_bytes_known_before_writing"] = sizesKnown;
        }
        pieces.push_back(piece);
        totals.add(figures);
    }
    json document{{"album", utf8Text(definition.albumTitle())},
                  {"loops", options.lengthSeconds ? json() : json(options.loopCount)},
                  {"fade_seconds", options.fadeSeconds}};
    if (options.lengthSeconds)
        document["length_seconds"] = *options.lengthSeconds;
    document["pieces"] = pieces;
    document["totals"] = {{"pieces", pieces.size()},
                          {"play_seconds", totals.seconds},
                          {"output_bytes", sizesKnown ? json(totals.bytes) : json()}};
    return document;
}

// The code of a refusal, check's own.
const char* refusalCode(PieceRefusal refusal)
{
    switch (refusal) {
    case PieceRefusal::None:
        break;
    case PieceRefusal::NameLost:
        return "name-not-shift-jis";
    case PieceRefusal::NameLeavesFolder:
        return "name-not-plain";
    case PieceRefusal::LoopPastData:
        return "loop-past-data";
    case PieceRefusal::TooLarge:
        return "too-large";
    }
    return "refused";
}

// The code of a failure; check's where check finds the same.
const char* failureCode(const PieceResult& result)
{
    switch (result.failure) {
    case PieceFailure::None:
        break;
    case PieceFailure::Refused:
        return refusalCode(result.refusal);
    case PieceFailure::FormatCannotHold:
        return "format-cannot-hold";
    case PieceFailure::NoSuchPiece:
        return "no-such-piece";
    case PieceFailure::SourceMissing:
        return "bgm-missing";
    case PieceFailure::ShortSource:
        return "bgm-short";
    case PieceFailure::OverwriteRefused:
        return "kept";
    case PieceFailure::OutputReadOnly:
        return "read-only";
    case PieceFailure::CannotCreate:
        return "cannot-create";
    case PieceFailure::WriteFailed:
        return "write-failed";
    case PieceFailure::CannotRename:
        return "cannot-rename";
    case PieceFailure::CannotRemove:
        return "unfinished-left";
    case PieceFailure::ReaderGone:
        return "reader-gone";
    }
    return "failed";
}

// result, reason and output_bytes of a file's end; none for a piece the run did not reach.
json endJson(const PieceResult* result)
{
    if (!result)
        return json{{"result", "cancelled"}, {"reason", "not-reached"}, {"output_bytes", json()}};
    json end{{"result", "failed"}, {"reason", failureCode(*result)}, {"output_bytes", json()}};
    switch (result->end) {
    case PieceEnd::Written:
        end["result"] = "written";
        end["reason"] = json();
        end["output_bytes"] = result->fileBytes ? json(*result->fileBytes) : json();
        break;
    case PieceEnd::Skipped:
        end["result"] = "skipped";
        end["reason"] = "kept";
        break;
    case PieceEnd::Cancelled:
        // A cancelled piece whose unfinished file stayed counts as failed.
        if (result->failure != PieceFailure::CannotRemove) {
            end["result"] = "cancelled";
            end["reason"] = "interrupted";
        }
        break;
    case PieceEnd::Failed:
        break;
    }
    return end;
}

json playlistJson(const std::string& name, const PlaylistEnd& playlist, bool cancelled)
{
    json end = endJson(playlist.tried ? &playlist.result : nullptr);
    if (!playlist.tried && !cancelled) {
        end["result"] = "skipped";
        end["reason"] = "no-pieces";
    } else if (playlist.tried && playlist.result.end == PieceEnd::Failed && !playlist.failsRun) {
        end["result"] = "skipped";
    }
    json document{{"file", name}};
    document.update(end);
    return document;
}

std::string printed(const json& value)
{
    // Every text went through utf8Text, so nothing is left for the replacement; it only keeps
    // the writer from throwing.
    return value.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

} // namespace

std::string listJson(const LoopDefinition& definition, const OutputOptions& options, const PieceWriter& writer)
{
    return printed(listDocument(definition, options, writer));
}

std::string checkJson(const LoopDefinition& definition, const DefinitionCheck& check, const OutputOptions& options)
{
    const WaveFileWriter wave;
    json result = listDocument(definition, options, wave);
    for (std::size_t i = 0; i < check.pieces.size(); ++i) {
        const PieceCheck& piece = check.pieces[i];
        json& object = result["pieces"][i];
        object["seam_measure"] = piece.loop.seam.measured ? json(piece.loop.seam.measure) : json();
        object["findings"] = findingsJson(piece.findings, piece.loop);
    }
    result["totals"]["errors"] = check.errors;
    result["totals"]["warnings"] = check.warnings;
    result["totals"]["notes"] = check.notes;
    result["findings"] = findingsJson(check.file, LoopJudgement());
    return printed(result);
}

std::string convertJson(const LoopDefinition& definition, const std::vector<std::int32_t>& rows,
                        const ConversionCounts& counts, const OutputOptions& options, const std::string& playlistName,
                        const PlaylistEnd& playlist)
{
    const std::vector<PieceFile> files = pieceFiles(definition, rows, options);
    json pieces = json::array();
    json totals{{"pieces", files.size()}, {"written", 0}, {"failed", 0}, {"skipped", 0}, {"cancelled", 0}};
    // The run ends the files in their order: those it did not reach are the last.
    std::size_t reached = 0;
    for (const PieceFile& file : files) {
        const PieceToWrite toWrite = pieceToWrite(definition, static_cast<std::size_t>(file.row), options, file.part);
        const bool ended = reached < counts.ends.size() && counts.ends[reached].first == file;
        json piece{{"number", file.row}};
        if (options.split)
            piece["part"] = partName(file.part);
        piece["file"] = utf8Text(outputName(toWrite));
        piece.update(endJson(ended ? &counts.ends[reached++].second : nullptr));
        if (options.lengthSeconds)
            piece["loops"] = toWrite.options.loopCount;
        const std::string result = piece["result"];
        totals[result] = totals[result].get<std::uint32_t>() + 1;
        pieces.push_back(piece);
    }
    json document{{"album", utf8Text(definition.albumTitle())}, {"pieces", pieces}, {"totals", totals}};
    if (!playlistName.empty())
        document["playlist"] = playlistJson(playlistName, playlist, counts.cancelled);
    return printed(document);
}
