#include "cli/json_output.h"

#include "cli/messages.h"
#include "definition/figures.h"
#include "platform/native_text.h"

#include <nlohmann/json.hpp>

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

json findingJson(const Finding& finding, const LoopSeam& seam)
{
    json object{{"level", levelText(finding.level)},
                {"code", finding.code},
                {"message", findingMessage(finding)}};
    if (std::string(finding.code) == "loop-seam") {
        object["measure"] = seam.measure;
        object["suggestion"] = seam.suggested ? json{{"loop_start", seam.loop_start},
                                                     {"loop_size", seam.loop_size},
                                                     {"measure", seam.suggestedMeasure}}
                                              : json();
    }
    return object;
}

json findingsJson(const Findings& findings, const LoopSeam& seam)
{
    json array = json::array();
    for (const Finding& finding : findings)
        array.push_back(findingJson(finding, seam));
    return array;
}

json listDocument(const LoopDefinition& definition, const OutputOptions& options, const PieceWriter& writer)
{
    const bool sizesKnown = writer.knowsSizeBeforeWriting();
    json pieces = json::array();
    FigureTotals totals;
    for (std::size_t i = 0; i < definition.entries().size(); ++i) {
        const PieceFigures figures = figuresOf(pieceToWrite(definition, i, options), writer);
        json piece = pieceJson(definition, i, figures);
        if (options.format != OutputFormat::Wave) {
            piece["output_file"] = utf8Text(writer.outputName(definition.entries()[i].file));
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
        object["seam_measure"] = piece.seam.measured ? json(piece.seam.measure) : json();
        object["findings"] = findingsJson(piece.findings, piece.seam);
    }
    result["totals"]["errors"] = check.errors;
    result["totals"]["warnings"] = check.warnings;
    result["totals"]["notes"] = check.notes;
    result["findings"] = findingsJson(check.file, LoopSeam());
    return printed(result);
}
