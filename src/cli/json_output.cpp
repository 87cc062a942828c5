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
        if (options.format != OutputFormat::Wave || options.names != OutputNames::Definition)
            piece["output_file"] = utf8Text(outputName(toWrite));
        if (options.format != OutputFormat::Wave) {
            piece["output_bytes"] = sizesKnown ? json(figures.fileSize) : json();
            piece["output_bytes_known_before_writing"] = sizesKnown;
        }
        pieces.push_back(piece);
        totals.add(figures);
    }
    return json{{"album", utf8Text(definition.albumTitle())},
                {"loops", options.loopCount},
                {"fade_seconds", options.fadeSeconds},
                {"pieces", pieces},
                {"totals",
                 {{"pieces", pieces.size()},
                  {"play_seconds", totals.seconds},
                  {"output_bytes", sizesKnown ? json(totals.bytes) : json()}}}};
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
