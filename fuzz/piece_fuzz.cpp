// One arbitrary piece through convertPieces: arbitrary names, formats, offsets and sizes (near the
// small BGM data or anywhere in 32 bits), loop count and fade seconds in 0..999, a full fade when
// it stays short, an existing output file, and a cancel at any point. Never a crash or a sanitizer
// report; nothing outside the output folder changes; a written file is exactly 46 + dataLength
// bytes with matching header sizes.
#include "convert/convert_pieces.h"
#include "definition/file_name.h"
#include "definition/output_rule.h"
#include "fuzz_folder.h"
#include "platform/native_text.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <sys/stat.h>

namespace {

constexpr std::uint64_t loopBytesCap = 8 << 20; // bytes of loops per input, so that one input stays quick
const std::string keptBytes = "an earlier file that must survive a No";

// Cancels at the given check (0: never) and answers the overwrite question as told.
struct FuzzFrontEnd : ConversionFrontEnd {
    FuzzFrontEnd(std::uint32_t cancel, bool yes) : cancelAt(cancel), answer(yes) {}
    void step() override { ++steps; }
    void yieldOnce() override {}
    bool isCancelled() override { return cancelAt != 0 && ++checks >= cancelAt; }
    void showReading(const PieceToWrite&) override {}
    void showWriting(const PieceToWrite&) override {}
    OverwriteAnswer confirmOverwrite(const std::string&) override
    {
        asked = true;
        return answer ? OverwriteAnswer::Replace : OverwriteAnswer::Keep;
    }
    void pieceFailed(const PieceToWrite&, const PieceResult& why) override { failed = true, failure = why.failure; }

    std::uint32_t cancelAt, checks = 0;
    bool answer, asked = false, failed = false;
    std::uint64_t steps = 0;
    PieceFailure failure = PieceFailure::NoSuchPiece;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const FuzzFolder root;
    root.empty();
    FuzzedDataProvider input(data, size);
    const bool existing = input.ConsumeBool(), answer = input.ConsumeBool(), near = input.ConsumeBool();
    FuzzFrontEnd frontEnd(input.ConsumeBool() ? input.ConsumeIntegralInRange<std::uint32_t>(1, 40) : 0, answer);
    const std::string bgm = input.ConsumeBytesAsString(input.ConsumeIntegralInRange<std::uint32_t>(0, 8192));
    const auto field = [&] { return near ? input.ConsumeIntegralInRange<std::uint32_t>(0, 8200) : input.ConsumeIntegral<std::uint32_t>(); };
    MusicEntry e;
    e.file = input.ConsumeBool() ? input.ConsumeBytesAsString(input.ConsumeIntegralInRange(0, 15)) : "out.wav";
    e.wave_file = input.ConsumeBool() ? "x" + input.ConsumeBytesAsString(8) : "bgm.dat";
    e.fmt_channels = input.ConsumeIntegral<std::uint16_t>();
    e.fmt_bits = input.ConsumeBool() ? input.ConsumeIntegral<std::uint16_t>() : input.PickValueInArray<std::uint16_t>({8, 16, 24});
    e.fmt_samples = input.ConsumeIntegral<std::uint32_t>();
    e.wave_start = field(), e.wave_size = field(), e.loop_start = field(), e.loop_size = field();
    OutputOptions options;
    options.fadeSeconds = input.ConsumeIntegralInRange<std::uint32_t>(0, 999);
    options.loopCount = input.ConsumeIntegralInRange<std::uint32_t>(0, 999);
    if (e.loop_size != 0 && static_cast<std::uint64_t>(options.loopCount) * e.loop_size > loopBytesCap)
        options.loopCount = static_cast<std::uint32_t>(loopBytesCap / e.loop_size);
    options.choices.fullFade =
        input.ConsumeBool() && static_cast<std::uint64_t>(options.fadeSeconds) * bytesPerSecond(e) <= loopBytesCap;
    options.bgmFolder = root.file("bgm");
    options.outputFolder = root.file("out");

    require(mkdir(options.bgmFolder.c_str(), 0755) == 0 && mkdir(options.outputFolder.c_str(), 0755) == 0 &&
                writeBytes(options.bgmFolder + "/bgm.dat", bgm),
            "scratch folders");
    // The system takes a name up to its first NUL byte.
    const std::string outName = utf8Text(e.file).c_str();
    const std::string outPath = joinPath(options.outputFolder, outName);
    const bool keep = existing && isPlainFileName(e.file) && outName.find('/') == std::string::npos;
    require(!keep || writeBytes(outPath, keptBytes), "existing output written");

    // Only load fills a definition, and no text file can carry every byte of a name: the loaded
    // entry is replaced by the fuzzed one.
    LoopDefinition definition;
    require(writeBytes(root.file("one.mrl"), "[album]\ntitle=t\n[music0000]\nfile=x\n") &&
                definition.load(root.file("one.mrl")),
            "one-piece definition");
    const_cast<MusicEntry&>(definition.entries()[0]) = e;
    const ConversionCounts counts = convertPieces(definition, options, {0}, frontEnd);

    require(listFolder(options.bgmFolder) == std::vector<std::string>{"bgm.dat"} &&
                readBytes(options.bgmFolder + "/bgm.dat") == bgm,
            "the BGM folder is never changed");
    const std::vector<std::string> outputs = listFolder(options.outputFolder);
    require(outputs.empty() || outputs == std::vector<std::string>{outName}, "at most the piece's own file is made");
    require(!frontEnd.asked || keep, "asked only when the output exists");
    if (keep && (!frontEnd.asked || !answer || counts.successes == 0))
        require(readBytes(outPath) == keptBytes, "an existing file changes only when a Yes is followed by a whole file");
    if (counts.cancelled) {
        require(counts.successes + counts.failures == 0 && !frontEnd.failed, "a cancelled piece is not counted");
        require(outputs.empty() || (keep && readBytes(outPath) == keptBytes), "a cancelled piece leaves no file");
        return 0;
    }
    require(frontEnd.steps == options.loopCount + 2ull, "every piece accounts for loopCount + 2 steps");
    require(counts.successes + counts.failures == 1 && frontEnd.failed == (counts.failures == 1), "one count");
    if (counts.failures == 1) {
        require(outputs.empty() || keep, "a failed piece leaves the old file or nothing");
        return 0;
    }
    require(loopLiesInData(e) && fitsWaveHeader(e, options) && e.wave_file == "bgm.dat",
            "only a sound piece is written");
    const std::string file = readBytes(outPath);
    const std::uint64_t length = dataLength(e, options);
    const auto sizeAt = [&](std::size_t at) { std::uint32_t v; std::memcpy(&v, &file[at], 4); return v; };
    require(file.size() == 46 + length && sizeAt(4) == length + 38 && sizeAt(42) == length, "file and header sizes");
    require(e.loop_start == 0 || file.compare(46, e.loop_start, bgm, e.wave_start, e.loop_start) == 0, "the introduction");
    return 0;
}
