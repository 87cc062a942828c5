// One arbitrary piece through convertPieces: arbitrary names, formats, offsets and sizes, small
// BGM data, loop count and fade seconds in 0..999, an existing output file, and a cancel at any
// point. Never a crash or a sanitizer report; nothing outside the output folder changes; a
// written file is exactly 46 + dataLength bytes with a matching header and the piece's data.
#include "convert/convert_pieces.h"
#include "definition/file_name.h"
#include "definition/output_rule.h"
#include "fuzz_folder.h"
#include "platform/native_text.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

namespace {

constexpr std::uint32_t mebibyte = 0x100000;
// Bytes of loops one accepted piece may write, so that one input stays quick.
constexpr std::uint64_t loopBytesCap = 8 * mebibyte;
const std::string keptBytes = "an earlier file that must survive a No";

void require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

class FuzzFrontEnd : public ConversionFrontEnd {
public:
    FuzzFrontEnd(std::uint32_t cancelAfter, bool answer) : cancelAfter_(cancelAfter), answer_(answer) {}

    void step() override { ++steps; }
    void yieldOnce() override {}
    bool isCancelled() override { return cancelAfter_ != 0 && ++checks_ >= cancelAfter_; }
    void showReading(const MusicEntry&) override {}
    void showWriting(const MusicEntry&) override {}
    bool confirmOverwrite(const std::string&) override
    {
        asked = true;
        return answer_;
    }
    void pieceFailed(const MusicEntry&, PieceFailure why) override
    {
        failed = true;
        failure = why;
    }

    std::uint64_t steps = 0;
    bool asked = false;
    bool failed = false;
    PieceFailure failure = PieceFailure::NoSuchPiece;

private:
    std::uint32_t cancelAfter_;
    std::uint32_t checks_ = 0;
    bool answer_;
};

struct Piece {
    MusicEntry entry;
    std::uint32_t loopCount = 0;
    std::uint32_t fadeSeconds = 0;
    std::string bgm;
};

std::string bgmBytes(FuzzedDataProvider& input)
{
    std::uint32_t length = input.ConsumeIntegralInRange<std::uint8_t>(0, 7) == 0
                               ? input.ConsumeIntegralInRange<std::uint32_t>(0, 2 * mebibyte + 300)
                               : input.ConsumeIntegralInRange<std::uint32_t>(0, 8192);
    std::string pattern = input.ConsumeBytesAsString(64);
    std::string bgm(length, '\0');
    for (std::uint32_t i = 0; i < length; ++i)
        bgm[i] = pattern.empty() ? static_cast<char>(i * 7 + (i >> 8)) : pattern[i % pattern.size()];
    return bgm;
}

Piece makePiece(FuzzedDataProvider& input)
{
    Piece piece;
    MusicEntry& entry = piece.entry;
    const bool rawFields = input.ConsumeBool();
    entry.file = input.ConsumeBool() ? input.ConsumeBytesAsString(input.ConsumeIntegralInRange(0, 15)) : "out.wav";
    entry.title = input.ConsumeBytesAsString(input.ConsumeIntegralInRange(0, 255));
    if (input.ConsumeBool()) {
        entry.wave_file = input.ConsumeBytesAsString(input.ConsumeIntegralInRange(0, 15));
        // Any name may be read, but the scratch folder is the only place worth reading here.
        entry.wave_file.erase(std::remove(entry.wave_file.begin(), entry.wave_file.end(), '/'), entry.wave_file.end());
    } else {
        entry.wave_file = "bgm.dat";
    }
    piece.loopCount = input.ConsumeIntegralInRange<std::uint32_t>(0, 999);
    piece.fadeSeconds = input.ConsumeIntegralInRange<std::uint32_t>(0, 999);
    entry.fmt_channels = rawFields ? input.ConsumeIntegral<std::uint16_t>() : input.ConsumeIntegralInRange(1, 8);
    entry.fmt_bits = input.ConsumeBool() ? input.ConsumeIntegral<std::uint16_t>()
                                         : input.PickValueInArray<std::uint16_t>({8, 16, 24, 32});
    entry.fmt_samples = input.ConsumeIntegral<std::uint32_t>();
    piece.bgm = bgmBytes(input);
    const auto length = static_cast<std::uint32_t>(piece.bgm.size());
    if (rawFields) {
        entry.wave_start = input.ConsumeIntegral<std::uint32_t>();
        entry.wave_size = input.ConsumeIntegral<std::uint32_t>();
        entry.loop_start = input.ConsumeIntegral<std::uint32_t>();
        entry.loop_size = input.ConsumeIntegral<std::uint32_t>();
    } else {
        entry.wave_start = input.ConsumeIntegralInRange<std::uint32_t>(0, length + 16);
        std::uint32_t rest = entry.wave_start <= length ? length - entry.wave_start : 0;
        entry.wave_size = input.ConsumeIntegralInRange<std::uint32_t>(0, rest + 16);
        entry.loop_start = input.ConsumeIntegralInRange<std::uint32_t>(0, entry.wave_size + 8);
        entry.loop_size = input.ConsumeIntegralInRange<std::uint32_t>(0, entry.wave_size + 8);
    }
    // A piece whose data can be read is written: keep its loops small.
    bool readable = static_cast<std::uint64_t>(entry.wave_start) + entry.wave_size <= length;
    if (readable && static_cast<std::uint64_t>(piece.loopCount) * entry.loop_size > loopBytesCap)
        piece.loopCount = static_cast<std::uint32_t>(loopBytesCap / entry.loop_size);
    return piece;
}

// The rule worked out again in 64 bits, from the definitions of the file format.
std::uint64_t expectedDataLength(const Piece& piece)
{
    const MusicEntry& e = piece.entry;
    std::uint64_t frame = static_cast<std::uint64_t>(e.fmt_bits) * e.fmt_channels / 8 % 65536;
    std::uint64_t perSecond = frame * e.fmt_samples % 0x100000000ull;
    std::uint64_t fade = std::min<std::uint64_t>(perSecond * piece.fadeSeconds, e.loop_size);
    return e.loop_start + static_cast<std::uint64_t>(piece.loopCount) * e.loop_size + fade;
}

std::uint32_t little(const std::string& bytes, std::size_t at, int width)
{
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

void checkHeader(const std::string& file, const Piece& piece, std::uint64_t data)
{
    const MusicEntry& e = piece.entry;
    std::uint32_t frame = static_cast<std::uint32_t>(e.fmt_bits) * e.fmt_channels / 8 % 65536;
    require(file.compare(0, 4, "RIFF") == 0 && file.compare(8, 8, "WAVEfmt ") == 0 && file.compare(38, 4, "data") == 0,
            "chunk names");
    require(little(file, 4, 4) == data + 38 && little(file, 42, 4) == data, "sizes in the header");
    require(little(file, 16, 4) == 18 && little(file, 20, 2) == 1 && little(file, 36, 2) == 0, "PCM format record");
    require(little(file, 22, 2) == e.fmt_channels && little(file, 24, 4) == e.fmt_samples &&
                little(file, 34, 2) == e.fmt_bits,
            "format fields");
    require(little(file, 32, 2) == frame && little(file, 28, 4) == frame * e.fmt_samples, "frame and rate fields");
}

// The fade keeps the first frame and never raises a sample's distance from silence.
void checkFade(const std::string& faded, const std::string& original, const MusicEntry& e)
{
    std::uint32_t frame = static_cast<std::uint32_t>(e.fmt_bits) * e.fmt_channels / 8 % 65536;
    if (e.fmt_bits != 8 && e.fmt_bits != 16) {
        require(faded == original, "other sample sizes are not faded");
        return;
    }
    if (frame > 0 && faded.size() >= frame)
        require(faded.compare(0, frame, original, 0, frame) == 0, "the first frame keeps its level");
    if (e.fmt_bits == 8) {
        for (std::size_t i = 0; i < faded.size(); ++i)
            require(std::abs(static_cast<std::uint8_t>(faded[i]) - 128) <=
                        std::abs(static_cast<std::uint8_t>(original[i]) - 128),
                    "an 8-bit sample comes no further from 128");
        return;
    }
    for (std::size_t i = 0; i + 1 < faded.size(); i += 2) {
        auto now = static_cast<std::int16_t>(little(faded, i, 2));
        auto was = static_cast<std::int16_t>(little(original, i, 2));
        require(std::abs(now) <= std::abs(was) && (now == 0 || (now < 0) == (was < 0)),
                "a 16-bit sample shrinks toward 0");
    }
}

void checkWritten(const std::string& file, const Piece& piece)
{
    const MusicEntry& e = piece.entry;
    std::uint64_t data = expectedDataLength(piece);
    require(file.size() == 46 + data, "file size is 46 + dataLength");
    checkHeader(file, piece, data);
    const std::string source = e.wave_size == 0 ? std::string() : piece.bgm.substr(e.wave_start, e.wave_size);
    std::size_t at = 46;
    require(file.compare(at, e.loop_start, source, 0, e.loop_start) == 0, "introduction");
    at += e.loop_start;
    for (std::uint32_t n = 0; n < piece.loopCount; ++n, at += e.loop_size)
        require(file.compare(at, e.loop_size, source, e.loop_start, e.loop_size) == 0, "loop");
    checkFade(file.substr(at), source.substr(e.loop_start, file.size() - at), e);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static FuzzFolder root;
    root.empty();
    FuzzedDataProvider input(data, size);
    const bool existing = input.ConsumeBool();
    const bool answer = input.ConsumeBool();
    const std::uint32_t cancelAfter = input.ConsumeBool() ? input.ConsumeIntegralInRange<std::uint32_t>(1, 40) : 0;
    const Piece piece = makePiece(input);
    const MusicEntry& e = piece.entry;

    const std::string bgmFolder = root.file("bgm");
    const std::string outFolder = root.file("out");
    require(mkdir(bgmFolder.c_str(), 0755) == 0 && mkdir(outFolder.c_str(), 0755) == 0, "scratch folders");
    require(writeBytes(bgmFolder + "/bgm.dat", piece.bgm), "BGM data written");
    // The system takes a name up to its first NUL byte.
    const std::string outName = nativeText(e.file).c_str();
    const std::string outPath = joinPath(outFolder, outName);
    const bool simpleName = isPlainFileName(e.file) && outName.find('/') == std::string::npos;
    const bool keep = existing && simpleName;
    if (keep)
        require(writeBytes(outPath, keptBytes), "existing output written");

    LoopDefinition definition;
    OutputOptions options;
    options.loopCount = piece.loopCount;
    options.fadeSeconds = piece.fadeSeconds;
    options.bgmFolder = bgmFolder;
    options.outputFolder = outFolder;
    FuzzFrontEnd frontEnd(cancelAfter, answer);
    // Only load fills a definition, and no text file can carry every byte of a name (line ends,
    // '=' and the like): the loaded entry is replaced by the fuzzed one.
    require(writeBytes(root.file("one.mrl"), "[album]\ntitle=t\n[music0000]\nfile=x\n") &&
                definition.load(root.file("one.mrl")),
            "one-piece definition");
    const_cast<MusicEntry&>(definition.entries()[0]) = e;
    ConversionCounts counts = convertPieces(definition, options, {0}, frontEnd);

    require(listTree(bgmFolder) == std::vector<std::string>{"bgm.dat"} && readBytes(bgmFolder + "/bgm.dat") == piece.bgm,
            "the BGM folder is never changed");
    const std::vector<std::string> outputs = listTree(outFolder);
    require(outputs.empty() || outputs == std::vector<std::string>{outName}, "at most the piece's own file is made");
    require(frontEnd.steps <= piece.loopCount + 2ull, "no more steps than a piece accounts for");
    require(!frontEnd.asked || keep, "asked only when the output exists");
    if (keep && (!frontEnd.asked || !answer))
        require(readBytes(outPath) == keptBytes, "an existing file changes only after a Yes");
    if (counts.cancelled) {
        require(counts.successes == 0 && counts.failures == 0 && !frontEnd.failed, "a cancelled piece is not counted");
        return 0;
    }
    require(frontEnd.steps == piece.loopCount + 2ull, "every piece accounts for loopCount + 2 steps");
    require(counts.successes + counts.failures == 1 && frontEnd.failed == (counts.failures == 1), "one count");
    if (counts.failures == 1) {
        require(frontEnd.failure != PieceFailure::OverwriteRefused || (frontEnd.asked && !answer),
                "refused only after a No");
        if (!keep && frontEnd.failure != PieceFailure::WriteFailed)
            require(outputs.empty(), "a refused piece creates nothing");
        return 0;
    }
    require(!frontEnd.asked || answer, "written only after a Yes");
    require(simpleName && loopLiesInData(e) && fitsWaveHeader(e, piece.loopCount, piece.fadeSeconds),
            "only a sound piece is written");
    require(std::string(nativeText(e.wave_file).c_str()) == "bgm.dat", "read from the BGM file");
    require(e.wave_size == 0 || static_cast<std::uint64_t>(e.wave_start) + e.wave_size <= piece.bgm.size(),
            "all of the data was there");
    checkWritten(readBytes(outPath), piece);
    return 0;
}
