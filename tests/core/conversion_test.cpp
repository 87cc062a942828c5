// The conversion run through convertPieces, as the progress window and the command line use it.
#include "convert/convert_pieces.h"
#include "convert/fade.h"
#include "convert/wave_header.h"
#include "convert/wave_writer.h"
#include "platform/native_text.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <fstream>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

class Recorder : public ConversionFrontEnd {
public:
    void step() override { ++steps; }
    void yieldOnce() override {}
    bool isCancelled() override { return cancelled; }
    void showReading(const MusicEntry& entry) override { reading.push_back(entry.file); }
    void showWriting(const MusicEntry& entry) override { cancelled = cancelled || entry.file == cancelWhenWriting; }
    bool confirmOverwrite(const std::string&) override { return overwrite; }
    void pieceFailed(const MusicEntry&, PieceFailure failure) override { failures.push_back(failure); }

    int steps = 0;
    bool overwrite = false;
    bool cancelled = false;
    std::string cancelWhenWriting;
    std::vector<std::string> reading;
    std::vector<PieceFailure> failures;
};

// Byte p of a BGM file: any range read from a wrong offset, even 4 GiB off, shows.
std::string pattern(std::uint64_t from, std::uint64_t length)
{
    std::string bytes(length, '\0');
    for (std::uint64_t p = from; p < from + length; ++p)
        bytes[p - from] = static_cast<char>(p ^ (p >> 8) ^ (p >> 16) ^ (p >> 24) ^ (p >> 32));
    return bytes;
}

// A folder holding bgm/bgm.dat (5000 patterned bytes), out/keep.wav and a definition of the
// given pieces, each a few lines of keys; wave_file is bgm.dat unless a piece names another.
struct Workspace {
    explicit Workspace(const std::vector<std::string>& pieces)
    {
        std::string text = "[album]\ntitle=run\n";
        for (std::size_t n = 0; n < pieces.size(); ++n)
            text += "[" + musicSectionName(static_cast<std::uint32_t>(n)) + "]\n" + pieces[n] + "\nwave_file=bgm.dat\n";
        EXPECT_TRUE(makeFolder(root.file("bgm")) && makeFolder(root.file("out")));
        EXPECT_TRUE(writeFileBytes(joinPath(root.file("bgm"), "bgm.dat"), pattern(0, 5000)));
        EXPECT_TRUE(writeFileBytes(joinPath(root.file("out"), "keep.wav"), std::string("an earlier file\r\n\0kept", 22)));
        EXPECT_TRUE(writeFileBytes(root.file("run.mrl"), text));
        EXPECT_TRUE(definition.load(root.file("run.mrl")));
        options.bgmFolder = root.file("bgm");
        options.outputFolder = root.file("out");
    }
    ConversionCounts convert(const std::vector<std::int32_t>& rows) { return convertPieces(definition, options, rows, frontEnd); }

    TempFolder root;
    LoopDefinition definition;
    OutputOptions options;
    Recorder frontEnd;
};

} // namespace

TEST(ConvertPieces, RefusesPiecesWithoutTouchingAnyFile)
{
    const std::vector<std::pair<std::string, PieceFailure>> pieces = {
        {"file=..\\evil.wav\nwave_size=100\nloop_size=100", PieceFailure::NameLeavesFolder},
        {"file=sub/evil.wav\nwave_size=100\nloop_size=100", PieceFailure::NameLeavesFolder},
        {"file=C:evil.wav\nwave_size=100\nloop_size=100", PieceFailure::NameLeavesFolder},
        {"file=..\nwave_size=100\nloop_size=100", PieceFailure::NameLeavesFolder},
        {"file=loop.wav\nwave_size=399\nloop_start=100\nloop_size=300", PieceFailure::LoopPastData},
        {"file=wrap.wav\nwave_size=4294967295\nloop_start=4294967295\nloop_size=2", PieceFailure::LoopPastData},
        {"file=huge.wav\nwave_size=1500000000\nloop_size=1500000000", PieceFailure::TooLarge}, // at 3 loops
        {"file=gone.wav\nwave_file=gone.dat\nwave_size=100\nloop_size=100", PieceFailure::SourceMissing},
        {"file=short.wav\nwave_start=4900\nwave_size=101\nloop_size=101", PieceFailure::ShortSource},
        {"file=past.wav\nwave_start=6000\nwave_size=1\nloop_size=1", PieceFailure::ShortSource},
        {"file=far.wav\nwave_size=4294967295", PieceFailure::ShortSource},
        {"file=keep.wav\nwave_size=100\nloop_size=100", PieceFailure::OverwriteRefused}, // answered no
    };
    std::vector<std::string> texts;
    for (const auto& piece : pieces)
        texts.push_back(piece.first);
    Workspace run(texts);
    run.options.loopCount = 3;
    const std::string before = folderSnapshot(run.root.path());
    for (std::int32_t row = -1; row <= static_cast<std::int32_t>(pieces.size()); ++row) {
        Recorder frontEnd;
        ConversionCounts counts = convertPieces(run.definition, run.options, {row}, frontEnd);
        const bool known = row >= 0 && row < static_cast<std::int32_t>(pieces.size());
        SCOPED_TRACE(known ? pieces[row].first : std::to_string(row));
        EXPECT_EQ(frontEnd.failures, std::vector<PieceFailure>{known ? pieces[row].second : PieceFailure::NoSuchPiece});
        EXPECT_EQ(counts.successes * 10 + counts.failures + counts.cancelled * 100, 1u);
        EXPECT_EQ(frontEnd.steps, 5) << "each piece makes loopCount + 2 steps, written or not";
        EXPECT_EQ(folderSnapshot(run.root.path()), before);
    }
}

// The expected files were computed by tests/fixtures/make_fixtures.py on its own.
TEST(ConvertPieces, WritesTheGoldenFilesAndReplacesOnlyAfterYes)
{
    TempFolder out;
    LoopDefinition definition;
    ASSERT_TRUE(definition.load(fixturePath("golden.mrl")));
    OutputOptions options;
    options.loopCount = 2;
    options.fadeSeconds = 1;
    options.bgmFolder = fixturePath("");
    options.outputFolder = out.path();
    ASSERT_TRUE(writeFileBytes(out.file("g8m.wav"), "earlier"));
    Recorder no;
    ConversionCounts counts = convertPieces(definition, options, {0, 1, 2, 3}, no);
    EXPECT_EQ(counts.successes * 10 + counts.failures, 31u);
    EXPECT_EQ(no.failures, std::vector<PieceFailure>{PieceFailure::OverwriteRefused});
    EXPECT_EQ(no.steps, 4 * 4);
    EXPECT_EQ(readFileBytes(out.file("g8m.wav")), "earlier");

    Recorder yes;
    yes.overwrite = true;
    EXPECT_EQ(convertPieces(definition, options, {1}, yes).successes, 1u);
    ASSERT_EQ(definition.entries().size(), 4u);
    for (const MusicEntry& entry : definition.entries())
        EXPECT_EQ(readFileBytes(out.file(entry.file)), readFileBytes(fixturePath(entry.file))) << entry.file;
}

TEST(Fade, ScalesFramesLinearlyTowardSilence)
{
    struct Row {
        std::uint16_t bits, channels;
        std::uint32_t frames; // of a full fade
        WaveBuffer in, out;
    };
    const Row rows[] = {
        {16, 1, 2, {0x00, 0x80, 0x03, 0x00}, {0x00, 0x80, 0x01, 0x00}}, // -32768 kept, 3 × 1/2 → 1
        {16, 2, 2, {0xE8, 0x03, 0xFD, 0xFF, 0xE8, 0x03, 0xFD, 0xFF}, {0xE8, 0x03, 0xFD, 0xFF, 0xF4, 0x01, 0xFF, 0xFF}},
        {16, 3, 4, {100, 0, 0x9C, 0xFF, 7, 0, 100, 0, 0x9C, 0xFF, 7, 0}, {100, 0, 0x9C, 0xFF, 7, 0, 75, 0, 0xB5, 0xFF, 5, 0}},
        {8, 1, 2, {228, 28}, {228, 78}},
        {8, 2, 2, {228, 28, 228, 28}, {228, 28, 178, 78}},
        {8, 3, 4, {0, 255, 128, 0, 255, 128}, {0, 255, 128, 32, 223, 128}},
        {24, 1, 2, {1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 6}},
        {24, 2, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
        {24, 3, 1, {1, 2, 3, 4, 5, 6, 7, 8, 9}, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
    };
    for (Row row : rows) {
        MusicEntry entry;
        entry.fmt_bits = row.bits;
        entry.fmt_channels = row.channels;
        entry.fmt_samples = row.frames;
        Recorder hooks;
        EXPECT_TRUE(applyFade(row.in.data(), static_cast<std::uint32_t>(row.in.size()), entry, 1, hooks));
        EXPECT_EQ(row.in, row.out) << row.bits << "-bit, " << row.channels << " channels";
    }
}

TEST(Fade, KeepsWholeFramesAcrossChunks)
{
    const std::uint32_t frames = 400000; // 2.4 MB of 6-byte frames: 1 MiB holds no whole number of them
    MusicEntry entry;
    entry.fmt_channels = 3;
    entry.fmt_samples = frames;
    WaveBuffer buffer(frames * 6), expected(frames * 6);
    for (std::uint32_t k = 0; k < frames * 3; ++k) {
        auto level = static_cast<std::int16_t>(k % 3 == 1 ? -10000 : 10000);
        auto faded = static_cast<std::int16_t>(level * (static_cast<double>(frames - k / 3) / frames));
        for (int b = 0; b < 2; ++b) {
            buffer[k * 2 + b] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(level) >> (8 * b));
            expected[k * 2 + b] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(faded) >> (8 * b));
        }
    }
    Recorder hooks;
    ASSERT_TRUE(applyFade(buffer.data(), frames * 6, entry, 1, hooks));
    EXPECT_TRUE(buffer == expected);
}

TEST(ConvertPieces, CancelTouchesNoLaterPiece)
{
    Workspace run({"file=a.wav\nwave_size=1000\nloop_size=1000", "file=b.wav\nwave_size=1000\nloop_size=1000",
             "file=keep.wav\nwave_size=100\nloop_size=100", "file=..\nwave_size=100\nloop_size=100"});
    run.frontEnd.overwrite = true;
    run.frontEnd.cancelWhenWriting = "b.wav";
    const std::string kept = readFileBytes(joinPath(run.options.outputFolder, "keep.wav"));
    ConversionCounts counts = run.convert({0, 1, 2, 3});
    EXPECT_TRUE(counts.cancelled);
    EXPECT_EQ(counts.successes * 10 + counts.failures, 10u);
    EXPECT_EQ(run.frontEnd.reading, (std::vector<std::string>{"a.wav", "b.wav"}));
    EXPECT_TRUE(run.frontEnd.failures.empty());
    EXPECT_EQ(readFileBytes(joinPath(run.options.outputFolder, "keep.wav")), kept);
    EXPECT_EQ(readFileBytes(joinPath(run.options.outputFolder, "a.wav")).size(), 46u + 3000);
}

TEST(ConvertPieces, ReadsDataPastFourGibibytes)
{
    TempFolder root;
    const std::uint64_t start = 0xFFFFFF00u, size = 0x100000 + 0x200; // the second chunk starts past 4 GiB
    {
        std::ofstream sparse(root.file("huge.dat"), std::ios::binary);
        sparse.seekp(static_cast<std::streamoff>(start));
        if (!sparse.write(pattern(start, size).data(), static_cast<std::streamsize>(size)))
            GTEST_SKIP() << "this file system cannot hold a sparse file past 4 GiB";
    }
    Workspace run({"file=far.wav\nwave_file=huge.dat\nwave_start=4294967040\nwave_size=1049088\nloop_start=200\nloop_size="
             "1048888"});
    run.options.bgmFolder = root.path();
    run.options.loopCount = 1;
    run.options.fadeSeconds = 0;
    EXPECT_EQ(run.convert({0}).successes, 1u);
    auto header = waveHeader(run.definition.entries()[0], 1, 0);
    EXPECT_TRUE(readFileBytes(joinPath(run.options.outputFolder, "far.wav")) ==
                std::string(header.begin(), header.end()) + pattern(start, size));
}

#ifndef _WIN32
// A file size limit (with SIGXFSZ ignored) makes writes past 256 KiB fail as on a full disk.
TEST(ConvertPieces, AFailedWriteFailsThePieceAlone)
{
    Workspace run({"file=a.wav\nwave_size=1000\nloop_size=1000", "file=big.wav\nwave_size=5000\nloop_size=5000",
             "file=c.wav\nwave_size=1000\nloop_size=1000"});
    run.options.loopCount = 60;
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limited = saved;
    limited.rlim_cur = 256 * 1024;
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    ConversionCounts counts = run.convert({0, 1, 2});
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(counts.successes * 10 + counts.failures, 21u);
    EXPECT_EQ(run.frontEnd.failures, std::vector<PieceFailure>{PieceFailure::WriteFailed});
    EXPECT_EQ(run.frontEnd.steps, 3 * 62);
    EXPECT_EQ(readFileBytes(joinPath(run.options.outputFolder, "c.wav")).size(), 46u + 60 * 1000 + 1000);
}
#endif
