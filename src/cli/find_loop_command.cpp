#include "cli/find_loop_command.h"

#include "check/data_findings.h"
#include "cli/messages.h"
#include "cli/text_output.h"
#include "loops/audio_file.h"
#include "loops/loop_seam.h"
#include "platform/native_text.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <optional>

using json = nlohmann::ordered_json;

namespace {

constexpr int exitFound = 0;
constexpr int exitNotFound = 1;
constexpr int exitUsage = 2;

// What the search said of one piece or file, with what the front end adds to it.
struct PieceLoops {
    const char* unreadable = nullptr; // the code when the data could not be read
    FoundLoop found;
    std::vector<std::optional<double>> seams; // per candidate, when its format is measured
    std::uint32_t frameBytes = 0;
    std::uint32_t rate = 0;
    bool isFound() const { return unreadable == nullptr && found.reason == NotFound::None; }
};

PieceLoops searchData(const std::uint8_t* data, std::size_t bytes, std::uint32_t channels, std::uint32_t bits,
                      std::uint32_t rate, const LoopSearch& search)
{
    PieceLoops loops;
    const PcmView view(data, bytes, channels, bits, rate);
    loops.found = findLoop(view, search);
    loops.frameBytes = view.frameBytes();
    loops.rate = rate;
    // The seam measure reads the formats a definition's pieces have.
    MusicEntry entry;
    entry.fmt_channels = static_cast<std::uint16_t>(channels);
    entry.fmt_bits = static_cast<std::uint16_t>(bits);
    entry.fmt_samples = rate;
    entry.wave_size = static_cast<std::uint32_t>(std::min<std::size_t>(bytes, UINT32_MAX));
    for (const LoopCandidate& candidate : loops.found.candidates) {
        entry.loop_start = static_cast<std::uint32_t>(candidate.start * view.frameBytes());
        entry.loop_size = static_cast<std::uint32_t>(candidate.length * view.frameBytes());
        const LoopSeam seam = measureLoopSeam(data, entry);
        loops.seams.push_back(seam.measured ? std::optional<double>(seam.measure) : std::nullopt);
    }
    return loops;
}

std::string decimal(double value, int places)
{
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", places, value);
    return text;
}

// Frames as m:ss.mmm.
std::string clockText(std::size_t frames, std::uint32_t rate)
{
    const double seconds = static_cast<double>(frames) / rate;
    const auto minutes = static_cast<unsigned>(seconds / 60);
    char text[32];
    std::snprintf(text, sizeof text, "%u:%06.3f", minutes, seconds - minutes * 60.0);
    return text;
}

std::string signedText(long long value) { return (value > 0 ? "+" : "") + std::to_string(value); }

std::string signedMilliseconds(long long frames, std::uint32_t rate)
{
    const double ms = 1000.0 * static_cast<double>(frames) / rate;
    return (ms > 0 ? "+" : "") + decimal(ms, 1);
}

Message reasonMessage(NotFound reason)
{
    switch (reason) {
    case NotFound::Silent:
        return Message::ReasonSilent;
    case NotFound::TooShort:
        return Message::ReasonTooShort;
    case NotFound::NothingNear:
        return Message::ReasonNothingNear;
    case NotFound::None:
    case NotFound::NoRepeat:
        break;
    }
    return Message::ReasonNoRepeat;
}

const char* reasonCode(const PieceLoops& loops)
{
    return loops.unreadable != nullptr ? loops.unreadable : notFoundCode(loops.found.reason);
}

// The lines under a piece's heading; the definition's entry when the piece is one.
void printLoops(const PieceLoops& loops, const MusicEntry* entry)
{
    if (!loops.isFound()) {
        const std::string why = loops.unreadable == nullptr ? text(reasonMessage(loops.found.reason))
                                : std::string(loops.unreadable) == "bgm-missing"
                                    ? text(Message::ReasonBgmMissing, {utf8Text(entry->wave_file)})
                                    : text(Message::ReasonBgmShort, {utf8Text(entry->wave_file)});
        printLine(stdout, "  " + text(Message::LoopNotFound, {reasonCode(loops), why}));
        return;
    }
    printLine(stdout, "  " + text(loops.found.loopCase == LoopCase::Repeat ? Message::LoopRepeat : Message::LoopOnePass));
    for (std::size_t i = 0; i < loops.found.candidates.size(); ++i) {
        const LoopCandidate& c = loops.found.candidates[i];
        const std::string seam = loops.seams[i] ? decimal(*loops.seams[i], 1) : text(Message::SeamNotMeasured);
        printLine(stdout, "  " + text(Message::LoopCandidateLine,
                                      {std::to_string(i + 1), std::to_string(c.start), clockText(c.start, loops.rate),
                                       std::to_string(c.length), clockText(c.length, loops.rate),
                                       decimal(c.confidence, 2), seam}));
    }
    const LoopCandidate& best = loops.found.candidates.front();
    printLine(stdout, "  loop_start=" + std::to_string(best.start * loops.frameBytes));
    printLine(stdout, "  loop_size=" + std::to_string(best.length * loops.frameBytes));
    if (entry == nullptr || entry->loop_size == 0)
        return;
    // The definition's loop as a conversion reads it, in whole frames.
    const auto start = static_cast<long long>(entry->loop_start / loops.frameBytes);
    const auto length = static_cast<long long>(entry->loop_size / loops.frameBytes);
    const long long startShift = start - static_cast<long long>(best.start);
    const long long lengthShift = length - static_cast<long long>(best.length);
    if (startShift == 0 && lengthShift == 0) {
        printLine(stdout, "  " + text(Message::DefinitionLoopSame));
        return;
    }
    printLine(stdout, "  " + text(Message::DefinitionLoopOff,
                                  {signedText(startShift), signedMilliseconds(startShift, loops.rate),
                                   signedText(lengthShift), signedMilliseconds(lengthShift, loops.rate)}));
}

json loopsJson(const PieceLoops& loops, bool definitionForm)
{
    json candidates = json::array();
    for (std::size_t i = 0; i < loops.found.candidates.size(); ++i) {
        const LoopCandidate& c = loops.found.candidates[i];
        json candidate{{"loop_start_frame", c.start}, {"loop_length_frames", c.length}};
        if (definitionForm) {
            candidate["loop_start"] = c.start * loops.frameBytes;
            candidate["loop_size"] = c.length * loops.frameBytes;
        }
        candidate["confidence"] = std::round(c.confidence * 100) / 100;
        candidate["seam_measure"] = loops.seams[i] ? json(std::round(*loops.seams[i] * 10) / 10) : json();
        candidates.push_back(candidate);
    }
    const bool found = loops.isFound();
    return json{{"found", found},
                {"case", !found ? json() : loops.found.loopCase == LoopCase::Repeat ? json("repeat") : json("one-pass")},
                {"reason", found ? json() : json(reasonCode(loops))},
                {"candidates", candidates}};
}

void printJson(const json& pieces)
{
    printText(stdout, json{{"pieces", pieces}}.dump(2, ' ', false, json::error_handler_t::replace) + "\n");
}

void complain(const std::string& problem) { printLine(stderr, "morlo-cli: " + problem); }

} // namespace

int findLoopInDefinition(const LoopDefinition& definition, const CliArguments& arguments)
{
    if (arguments.options.bgmFolder.empty()) {
        printText(stderr, usageErrorText(text(Message::FindLoopNeedsBgm), arguments.command));
        return exitUsage;
    }
    std::vector<std::int32_t> rows;
    std::string problem;
    if (!chosenPieces(arguments.only, definition.entries().size(), rows, problem)) {
        printText(stderr, usageErrorText(problem, arguments.command));
        return exitUsage;
    }
    WaveBuffer buffer;
    json pieces = json::array();
    bool allFound = true;
    for (std::int32_t row : rows) {
        const MusicEntry& entry = definition.entries()[static_cast<std::size_t>(row)];
        PieceLoops loops;
        switch (readPieceData(entry, arguments.options.bgmFolder, buffer)) {
        case DataRead::Read:
            loops = searchData(buffer.data(), buffer.size(), entry.fmt_channels, entry.fmt_bits, entry.fmt_samples,
                               arguments.search);
            break;
        case DataRead::Missing:
            loops.unreadable = "bgm-missing";
            break;
        case DataRead::Short:
            loops.unreadable = "bgm-short";
            break;
        }
        allFound = allFound && loops.isFound();
        if (arguments.json) {
            json piece{{"number", row}, {"title", utf8Text(entry.title)}};
            piece.update(loopsJson(loops, true));
            pieces.push_back(piece);
            continue;
        }
        printLine(stdout, std::to_string(row) + '\t' + utf8Text(entry.title));
        printLoops(loops, &entry);
    }
    if (arguments.json)
        printJson(pieces);
    return allFound ? exitFound : exitNotFound;
}

int findLoopInAudio(const CliArguments& arguments)
{
    if (!arguments.options.bgmFolder.empty() || !arguments.only.empty()) {
        printText(stderr, usageErrorText(text(Message::AudioTakesNoPieces), arguments.command));
        return exitUsage;
    }
    AudioData audio;
    switch (readAudioFile(arguments.definitionPath, audio)) {
    case AudioRefusal::None:
        break;
    case AudioRefusal::NotPcm:
        complain(text(Message::AudioNotPcm, {arguments.definitionPath}));
        return exitUsage;
    case AudioRefusal::Unreadable:
    case AudioRefusal::NotAudio:
        complain(text(Message::AudioUnreadable, {arguments.definitionPath}));
        return exitUsage;
    }
    const PieceLoops loops =
        searchData(audio.bytes.data(), audio.bytes.size(), audio.channels, audio.bits, audio.rate, arguments.search);
    if (arguments.json) {
        json piece{{"file", arguments.definitionPath}};
        piece.update(loopsJson(loops, false));
        printJson(json::array({piece}));
    } else {
        printLine(stdout, arguments.definitionPath);
        printLoops(loops, nullptr);
    }
    return loops.isFound() ? exitFound : exitNotFound;
}
