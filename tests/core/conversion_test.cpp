// The conversion run through convertPieces, as the progress window and the command line use it.
#include "convert/convert_pieces.h"
#include "definition/figures.h"
#include "definition/file_name.h"
#include "platform/native_text.h"
#include "support/pieces.h"
#include "support/run_options.h"
#include "support/test_files.h"
#include "writers/fade.h"
#include "writers/piece_writer.h"
#include "writers/wave_header.h"
#include "writers/writer_for_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <functional>
#include <mutex>
#include <thread>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif

static bool operator==(const ConversionCounts& a, const ConversionCounts& b)
{
    return a.successes == b.successes && a.failures == b.failures && a.skipped == b.skipped &&
           a.cancelled == b.cancelled && a.partLeft == b.partLeft;
}

void PrintTo(const ConversionCounts& c, std::ostream* out)
{
    *out << "{successes " << c.successes << ", failures " << c.failures << ", skipped " << c.skipped
         << (c.cancelled ? ", cancelled" : "")
         << (c.partLeft ? ", part left" : "") << "}";
}

static ConversionCounts counted(std::uint32_t successes, std::uint32_t failures, bool cancelled = false,
                                std::uint32_t skipped = 0)
{
    ConversionCounts counts;
    counts.successes = successes;
    counts.failures = failures;
    counts.skipped = skipped;
    counts.cancelled = cancelled;
    return counts;
}

struct Recorder : ConversionFrontEnd {
    void step() override
    {
        here();
        ++steps;
    }
    void yieldOnce() override
    {
        here();
        if (!cancelled && ++yields == cancelAtYield && (cancelled = true) && atCancel)
            atCancel();
    }
    bool isCancelled() override
    {
        here();
        return cancelled;
    }
    void showReading(const PieceToWrite&) override
    {
        here();
        if (atReading)
            atReading();
    }
    void showWriting(const PieceToWrite&) override { here(); }
    OverwriteAnswer confirmOverwrite(const std::string&) override
    {
        here();
        return answer;
    }
    void pieceFailed(const PieceToWrite&, const PieceResult& result) override
    {
        here();
        failures.push_back(result.failure);
        refusals.push_back(result.refusal);
    }
    // Counts the calls from another thread than the one that made the front end (the window's
    // own): none may come.
    void here() { strayCalls += std::this_thread::get_id() != owner; }

    int steps = 0, yields = 0, cancelAtYield = 0; // 0: the user never cancels
    OverwriteAnswer answer = OverwriteAnswer::Keep; // to every question
    bool cancelled = false;                         // the user's cancel
    std::function<void()> atCancel;                 // what else happens at that moment
    std::function<void()> atReading;                // what else happens as each piece is read
    std::vector<PieceFailure> failures;
    std::vector<PieceRefusal> refusals; // beside each failure: why the definition refused the piece
    std::thread::id owner = std::this_thread::get_id();
    int strayCalls = 0;
};

// Byte p of a BGM file: a range read from a wrong offset, even one 4 GiB off, shows.
static std::string pattern(std::uint64_t from, std::uint64_t length)
{
    std::string bytes;
    for (std::uint64_t p = from; p < from + length; ++p)
        bytes += static_cast<char>(p ^ (p >> 8) ^ (p >> 16) ^ (p >> 24) ^ (p >> 32));
    return bytes;
}

// bgm/bgm.dat (5000 patterned bytes), out/keep.wav and pieces given by keys other than wave_file=bgm.dat,
// wave_size=100 and loop_size=100.
struct Workspace {
    explicit Workspace(const std::vector<std::string>& pieces, std::string text = "[album]\ntitle=run\n")
    {
        for (std::size_t n = 0; n < pieces.size(); ++n)
            text += "[" + musicSectionName(static_cast<std::uint32_t>(n)) + "]\n" + pieces[n] +
                    "\nwave_file=bgm.dat\nwave_size=100\nloop_size=100\n";
        EXPECT_TRUE(makeFolder(options.bgmFolder = root.file("bgm")) && makeFolder(options.outputFolder = root.file("out")));
        EXPECT_TRUE(writeFileBytes(joinPath(options.bgmFolder, "bgm.dat"), pattern(0, 5000)));
        EXPECT_TRUE(writeFileBytes(out("keep.wav"), std::string("an earlier file\r\n\0kept", 22)));
        EXPECT_TRUE(writeFileBytes(root.file("run.mrl"), text) && definition.load(root.file("run.mrl")));
    }
    std::string out(const std::string& name) const { return joinPath(options.outputFolder, name); }
    ConversionCounts convert(const std::vector<std::int32_t>& rows) { return convertPieces(definition, options, rows, frontEnd); }

    TempFolder root;
    OutputOptions options;
    LoopDefinition definition;
    Recorder frontEnd;
};

TEST(ConvertPieces, RefusesPiecesWithoutTouchingAnyFile)
{
    using F = PieceFailure;
    using R = PieceRefusal;
    const std::vector<std::pair<std::string, std::pair<F, R>>> pieces = {
        {"file=..\\evil.wav", {F::Refused, R::NameLeavesFolder}}, {"file=..", {F::Refused, R::NameLeavesFolder}},
        {"file=caf\xC3\xA9.wav", {F::Refused, R::NameLost}}, // the definition is UTF-8 now: "café.wav" would be "caf?.wav"
        {"file=keep.wav\nwave_size=399\nloop_start=100\nloop_size=300", {F::Refused, R::LoopPastData}},
        {"file=huge.wav\nwave_size=1500000000\nloop_size=1500000000", {F::Refused, R::TooLarge}}, // at 3 loops
        {"file=edge.wav\nwave_size=4294967249\nloop_start=4294967249\nloop_size=0", {F::Refused, R::TooLarge}}, // by its tags
        {"file=keep.wav\nwave_file=gone.dat", {F::SourceMissing, R::None}}, {"file=keep.wav\nwave_file=", {F::SourceMissing, R::None}},
        {"file=keep.wav\nwave_start=4900\nwave_size=101\nloop_size=101", {F::ShortSource, R::None}},
        {"file=past.wav\nwave_start=6000", {F::ShortSource, R::None}}, {"file=far.wav\nwave_size=4294967295", {F::ShortSource, R::None}}};
    std::vector<std::string> texts;
    for (const auto& piece : pieces)
        texts.push_back(piece.first);
    Workspace run(texts);
    run.options.loopCount = 3;
    run.options.choices.tags = true;
    const std::string before = folderSnapshot(run.root.path());
    for (std::int32_t row = -1; row <= static_cast<std::int32_t>(pieces.size()); ++row) {
        Recorder frontEnd;
        ConversionCounts counts = convertPieces(run.definition, run.options, {row}, frontEnd);
        const bool known = row >= 0 && row < static_cast<std::int32_t>(pieces.size());
        SCOPED_TRACE(known ? pieces[row].first : std::to_string(row));
        const std::pair<F, R> why = known ? pieces[row].second : std::make_pair(F::NoSuchPiece, R::None);
        EXPECT_EQ(frontEnd.failures, std::vector<F>{why.first});
        EXPECT_EQ(frontEnd.refusals, std::vector<R>{why.second});
        EXPECT_EQ(counts, counted(0, 1));
        EXPECT_EQ(frontEnd.steps, 5) << "each piece makes loopCount + 2 steps, written or not";
        EXPECT_EQ(folderSnapshot(run.root.path()), before);
    }
}

// FLAC and Ogg Vorbis files make their steps as WAVE files do, so that the progress ends full; so do
// pieces given loop counts of their own by a length, with workers too.
TEST(ConvertPieces, EveryFormatMakesItsSteps)
{
    Workspace run({}, readFileBytes(fixturePath("golden.mrl")));
    run.options.bgmFolder = fixturePath("");
    run.options.fadeSeconds = 1;
    for (OutputFormat format : {OutputFormat::Flac, OutputFormat::OggVorbis}) {
        run.options.format = format;
        run.frontEnd.steps = 0;
        const std::unique_ptr<PieceWriter> writer = makePieceWriter(run.options);
        EXPECT_EQ(convertPieces(run.definition, run.options, {0, 1}, run.frontEnd, *writer), counted(2, 0));
        EXPECT_EQ(run.frontEnd.steps, 2 * 4) << writer->formatName();
    }
    // 5 s: three loops of the first piece (44 + 3 × 48 bytes at 32 a second), five of the second
    // (11 + 5 × 6 at 8).
    run.options.lengthSeconds = 5;
    run.frontEnd.answer = OverwriteAnswer::Replace;
    const std::unique_ptr<PieceWriter> writer = makePieceWriter(run.options);
    EXPECT_EQ(conversionSteps(run.definition, {0, 1}, run.options), 5 + 7 + 1u);
    for (unsigned workers : {1u, 2u}) {
        run.frontEnd.steps = 0;
        EXPECT_EQ(convertPieces(run.definition, run.options, {0, 1}, run.frontEnd, *writer, workers), counted(2, 0));
        EXPECT_EQ(run.frontEnd.steps, 5 + 7) << workers;
    }
}

// A piece that neither the definition nor the format allows is told the definition's reason.
TEST(ConvertPieces, TheDefinitionsReasonComesBeforeTheFormats)
{
    Workspace run({"file=b12.wav\nfmt_bits=12\nwave_size=399\nloop_start=100\nloop_size=300"});
    run.options.format = OutputFormat::Flac;
    const std::unique_ptr<PieceWriter> writer = makePieceWriter(run.options);
    EXPECT_EQ(convertPieces(run.definition, run.options, {0}, run.frontEnd, *writer), counted(0, 1));
    EXPECT_EQ(run.frontEnd.failures, std::vector<PieceFailure>{PieceFailure::Refused});
    EXPECT_EQ(run.frontEnd.refusals, std::vector<PieceRefusal>{PieceRefusal::LoopPastData});
}

// Split, a piece is its introduction and one pass of its loop, each a file with its own steps and
// count: joined, introduction, loop, loop, they begin as the file of two loops without a fade-out,
// also when the loop starts inside a frame. A piece without an introduction writes its loop alone
// (under a name without an extension too), one the definition refuses is refused once under its
// own name, and one too large for a file whole is judged by its files.
TEST(ConvertPieces, SplitPiecesJoinIntoThePlainFile)
{
    Workspace run({"file=al.wav\nloop_start=40\nloop_size=60", "file=odd.wav\nloop_start=42\nloop_size=56", "file=all",
                   "file=..", "file=huge.wav\nwave_size=1500000000\nloop_size=1500000000"});
    run.options.fadeSeconds = 0;
    EXPECT_EQ(run.convert({0, 1}), counted(2, 0));
    const std::string plainFolder = run.options.outputFolder;
    run.options.split = true;
    run.options.loopCount = 3;
    ASSERT_TRUE(makeFolder(run.options.outputFolder = run.root.file("split")));
    run.frontEnd.steps = 0;
    const std::vector<std::int32_t> rows = {0, 1, 2, 3, 4};
    const ConversionCounts counts = run.convert(rows);
    EXPECT_EQ(counts, counted(5, 2));
    using P = PiecePart;
    EXPECT_EQ(counts.written,
              (std::vector<PieceFile>{{0, P::Introduction}, {0, P::Loop}, {1, P::Introduction}, {1, P::Loop}, {2, P::Loop}}));
    EXPECT_EQ(run.frontEnd.failures, (std::vector<PieceFailure>{PieceFailure::Refused, PieceFailure::ShortSource}));
    EXPECT_EQ(run.frontEnd.steps, 2 * 2 + 3 * 3 + 5 + 3);
    EXPECT_EQ(conversionSteps(run.definition, rows, run.options), run.frontEnd.steps + 1u);
    for (const std::string name : {"al", "odd"}) {
        const std::string plain = readFileBytes(joinPath(plainFolder, name + ".wav")).substr(46);
        const std::string intro = readFileBytes(run.out(name + "-intro.wav")).substr(46);
        const std::string loop = readFileBytes(run.out(name + "-loop.wav")).substr(46);
        EXPECT_EQ((intro + loop + loop).substr(0, plain.size()), plain) << name;
        EXPECT_EQ(intro.size() % 4 + loop.size() % 4, 0u) << name << ": whole frames";
    }
    EXPECT_EQ(readFileBytes(run.out("all-loop")).substr(46), pattern(0, 100));
}

// The expected files were computed by tests/fixtures/make_fixtures.py on its own.
TEST(ConvertPieces, WritesTheGoldenFilesAndReplacesOnlyAfterYes)
{
    Workspace run({}, readFileBytes(fixturePath("golden.mrl")));
    run.options.bgmFolder = fixturePath("");
    run.options.fadeSeconds = 1;
    ASSERT_TRUE(writeFileBytes(run.out("g8m.wav"), "earlier"));
    const std::vector<std::int32_t> all = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    ConversionCounts counts = run.convert(all);
    EXPECT_EQ(counts, counted(12, 1));
    EXPECT_EQ(run.frontEnd.failures, std::vector<PieceFailure>{PieceFailure::OverwriteRefused});
    EXPECT_EQ(counts.kept, std::vector<PieceFile>{{1}}) << "g8m.wav";
    EXPECT_EQ(run.frontEnd.steps, 13 * 4);
    EXPECT_EQ(readFileBytes(run.out("g8m.wav")), "earlier");
    run.frontEnd.answer = OverwriteAnswer::Skip;
    counts = run.convert(all);
    const auto pieces = static_cast<std::uint32_t>(all.size());
    EXPECT_EQ(counts, counted(0, 0, false, pieces)) << "every file exists now, and each is skipped, not failed";
    std::vector<PieceFile> wholes;
    for (std::int32_t row : all)
        wholes.push_back({row});
    EXPECT_EQ(counts.kept, wholes);
    EXPECT_EQ(run.frontEnd.failures.size(), 1u);
    EXPECT_EQ(run.frontEnd.steps, 2 * 4 * static_cast<int>(pieces));
    EXPECT_EQ(readFileBytes(run.out("g8m.wav")), "earlier");
    run.frontEnd.answer = OverwriteAnswer::Replace;
    counts = run.convert({1});
    EXPECT_EQ(counts, counted(1, 0));
    for (const MusicEntry& entry : run.definition.entries())
        EXPECT_EQ(readFileBytes(run.out(entry.file)), readFileBytes(fixturePath(entry.file))) << entry.file;

    // With tags and loop points, and with a full fade of 3 s and loop points: each file as large
    // as the list says.
    const std::tuple<const char*, std::uint32_t, FileChoices> runs[] = {{"tagged", 1, {true, true, false}},
                                                                        {"full", 3, {false, true, true}}};
    for (const auto& [folder, fade, choices] : runs) {
        run.options.fadeSeconds = fade;
        run.options.choices = choices;
        ASSERT_TRUE(makeFolder(run.options.outputFolder = run.root.file(folder)));
        EXPECT_EQ(run.convert(all), counted(13, 0)) << folder;
        for (std::size_t i = 0; i < all.size(); ++i) {
            const MusicEntry& entry = run.definition.entries()[i];
            const std::string written = readFileBytes(run.out(entry.file));
            EXPECT_EQ(written, readFileBytes(fixturePath(std::string(folder) + "/" + entry.file))) << folder << entry.file;
            EXPECT_EQ(written.size(), figuresOf(pieceToWrite(run.definition, i, run.options), WaveFileWriter()).fileSize)
                << folder << entry.file;
        }
    }
}

// Pieces a and b of 1000 + 1.25 MiB, one loop, a 6 s fade: each yields twice reading, 2 + 1 times
// writing its loop, twice fading and once at its end. The refused third piece is never reached.
TEST(ConvertPieces, CancelRemovesTheUnfinishedFileAndChangesNothingElse)
{
    const std::string big = "\nwave_file=big.dat\nwave_size=1311720\nloop_start=1000\nloop_size=1310720";
    const struct { const char* when; int yield; bool aWritten; } cases[] = {
        {"never, writing a alone", 0, true}, {"reading a", 1, false}, {"in a's first loop", 3, false},
        {"in a's fade", 6, false}, {"between a and b", 8, true}, {"writing b over the older b", 11, true}};
    std::string a;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.when);
        Workspace run({"file=a.wav" + big, "file=b.wav" + big, "file=.."});
        ASSERT_TRUE(writeFileBytes(joinPath(run.options.bgmFolder, "big.dat"), std::string(1311720, 'x')) &&
                    writeFileBytes(run.out("b.wav"), "older b"));
        run.options.loopCount = 1;
        run.options.fadeSeconds = 6;
        run.frontEnd.answer = OverwriteAnswer::Replace;
        run.frontEnd.cancelAtYield = c.yield;
        const std::string before = folderSnapshot(run.root.path());
        ConversionCounts counts = run.convert(c.yield == 0 ? std::vector<std::int32_t>{0} : std::vector<std::int32_t>{0, 1, 2});
        EXPECT_EQ(counts, counted(c.aWritten, 0, c.yield != 0));
        EXPECT_TRUE(run.frontEnd.failures.empty());
        if (c.yield == 0)
            a = readFileBytes(run.out("a.wav"));
        // Once a is taken back, every folder is as it was: the older b is there as it was.
        EXPECT_EQ(readFileBytes(run.out("a.wav")), c.aWritten ? a : "");
        std::remove(run.out("a.wav").c_str());
        EXPECT_EQ(folderSnapshot(run.root.path()), before);
    }
#ifndef _WIN32
    // The unfinished file cannot go (a folder took its name as the user cancelled): the piece is
    // counted as failed, once, and the run says that a part is left.
    Workspace run({"file=a.wav" + big});
    ASSERT_TRUE(writeFileBytes(joinPath(run.options.bgmFolder, "big.dat"), std::string(1311720, 'x')));
    const std::string part = unfinishedPath(run.out("a.wav"));
    run.frontEnd.cancelAtYield = 3;
    run.frontEnd.atCancel = [&] {
        EXPECT_TRUE(std::remove(part.c_str()) == 0 && makeFolder(part) && writeFileBytes(joinPath(part, "x"), "x"));
    };
    ConversionCounts partLeft = counted(0, 1, true);
    partLeft.partLeft = true;
    EXPECT_EQ(run.convert({0}), partLeft);
    EXPECT_EQ(run.frontEnd.failures, std::vector<PieceFailure>{PieceFailure::CannotRemove});
#endif
}

TEST(ConvertPieces, ReadsDataPastFourGibibytes)
{
    Workspace run({"file=far.wav\nwave_file=huge.dat\nwave_start=4294967040\nwave_size=1049088\nloop_start=200\n"
                   "loop_size=1048888"});
    const std::uint64_t start = 4294967040u, size = 1049088; // the second 1 MiB chunk starts past 4 GiB
    std::ofstream sparse(joinPath(run.options.bgmFolder, "huge.dat"), std::ios::binary);
    if (!sparse.seekp(static_cast<std::streamoff>(start)).write(pattern(start, size).data(), size))
        GTEST_SKIP() << "this file system cannot hold a sparse file past 4 GiB";
    sparse.close();
    run.options.fadeSeconds = 0;
    ConversionCounts counts = run.convert({0});
    EXPECT_EQ(counts, counted(1, 0));
    auto header = waveHeader(run.definition.entries()[0], runOptions(2, 0));
    EXPECT_TRUE(readFileBytes(run.out("far.wav")) ==
                std::string(header.begin(), header.end()) + pattern(start, size) + pattern(start + 200, size - 200));
}

#ifndef _WIN32
// Writes past a file size limit fail as on a full disk (with SIGXFSZ ignored).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : previous_(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limited{bytes, saved_.rlim_max};
        if (bytes != 0)
            setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_{};
    void (*previous_)(int);
};
#else
struct FileSizeLimit {
    explicit FileSizeLimit(unsigned) {}
};
#endif

// A run over a folder that holds a, b and c, replacing them: b (245,046 bytes) meets a fault. It
// fails alone (or with all three, when not even a header fits) and the folder ends as it was
// before, the old b byte for byte and no unfinished file; or b is written and the folder holds
// what a run without the fault leaves.
TEST(ConvertPieces, NoFailureBreaksOrLosesAFile)
{
    using F = PieceFailure;
    const struct { const char* fault; unsigned limit; bool (*prepare)(const std::string& b); F failure; ConversionCounts counts; } cases[] = {
#ifndef _WIN32
        {"disk full at the header", 20, nullptr, F::WriteFailed, counted(0, 3)},
        {"disk full in a loop", 100000, nullptr, F::WriteFailed, counted(2, 1)},
        {"disk full in the fade", 243046, nullptr, F::WriteFailed, counted(2, 1)},
#endif
        {"b read-only", 0, [](const std::string& b) { return setReadOnly(b, true); }, F::OutputReadOnly, counted(2, 1)},
        {"a folder named b.wav", 0, [](const std::string& b) { return std::remove(b.c_str()) == 0 && makeFolder(b); },
         F::CannotRename, counted(2, 1)},
        {"a folder under b's unfinished name", 0, [](const std::string& b) { return makeFolder(unfinishedPath(b)); },
         F::CannotCreate, counted(2, 1)},
        {"a killed run's unfinished b", 0, [](const std::string& b) { return writeFileBytes(unfinishedPath(b), "cut"); },
         F::None, counted(3, 0)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        Workspace run({"file=a.wav", "file=b.wav\nwave_size=5000\nloop_start=1000\nloop_size=4000", "file=c.wav"});
        run.options.loopCount = 60;
        run.frontEnd.answer = OverwriteAnswer::Replace;
        ConversionCounts counts = run.convert({0, 1, 2});
        ASSERT_EQ(counts, counted(3, 0));
        const std::string whole = folderSnapshot(run.options.outputFolder);
        ASSERT_TRUE(writeFileBytes(run.out("b.wav"), "older b") && (!c.prepare || c.prepare(run.out("b.wav"))));
        const std::string before = folderSnapshot(run.options.outputFolder);
        run.frontEnd = Recorder();
        run.frontEnd.answer = OverwriteAnswer::Replace;
        {
            FileSizeLimit limit(c.limit);
            counts = run.convert({0, 1, 2});
        }
        EXPECT_EQ(counts, c.counts);
        EXPECT_EQ(run.frontEnd.failures, std::vector<F>(c.counts.failures, c.failure));
        EXPECT_EQ(run.frontEnd.steps, 3 * 62);
        EXPECT_EQ(folderSnapshot(run.options.outputFolder), c.failure == F::None ? whole : before);
    }
}

// An encoder's stand-in for runs with workers, in runs whose format is FLAC, so that its files are
// named as FLAC's. It writes each piece's name and data length, one step per loop and one at the
// end; a piece named with "bad" fails after its loops and 12-bit pieces are refused. A piece whose name begins with "slow" holds on
// until another piece has ended since it began or patience has passed, so that with workers it
// ends after later ones. It keeps the processor busy unless told otherwise.
class StandIn : public PieceWriter {
public:
    explicit StandIn(bool processorBound = true, std::chrono::milliseconds patience = std::chrono::milliseconds(300))
        : processorBound_(processorBound), patience_(patience)
    {
    }

    const char* formatName() const override { return "stand-in"; }
    FormatRefusal refusal(const MusicEntry& entry) const override
    {
        return entry.fmt_bits == 12 ? FormatRefusal{FormatLimit::SampleBits} : FormatRefusal{};
    }
    bool processorBound() const override { return processorBound_; }
    PieceOutcome write(FileHandle& output, const PieceToWrite& piece, WaveBuffer& buffer,
                       ConversionHooks& hooks) const override
    {
        const std::string& name = piece.entry.file;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            const int endedBefore = ended_;
            held_ += buffer.size();
            mostHeld_ = std::max(mostHeld_, held_);
            changed_.notify_all();
            if (name.rfind("slow", 0) == 0)
                changed_.wait_for(lock, patience_, [&] { return ended_ > endedBefore; });
        }
        for (std::uint32_t loop = 0; loop < piece.options.loopCount; ++loop) {
            hooks.step();
            hooks.yieldOnce();
        }
        const std::string text = name + std::to_string(buffer.size());
        const auto bytes = reinterpret_cast<const std::uint8_t*>(text.data());
        const auto length = static_cast<std::uint32_t>(text.size());
        const bool written = name.find("bad") == std::string::npos && output.write(bytes, length) == length;
        if (written)
            hooks.step();
        std::lock_guard<std::mutex> lock(mutex_);
        held_ -= buffer.size();
        ++ended_;
        changed_.notify_all();
        return written ? PieceOutcome::Completed : PieceOutcome::Failed;
    }

    // The most data of pieces being written at once.
    std::size_t mostHeld() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return mostHeld_;
    }

private:
    const bool processorBound_;
    const std::chrono::milliseconds patience_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    mutable int ended_ = 0;
    mutable std::size_t held_ = 0, mostHeld_ = 0;
};

// The output folder's files and their bytes, wherever it is.
static std::string outputs(const Workspace& run)
{
    std::string snapshot = folderSnapshot(run.options.outputFolder);
    for (std::size_t at; (at = snapshot.find(run.options.outputFolder)) != std::string::npos;)
        snapshot.erase(at, run.options.outputFolder.size());
    return snapshot;
}

// Workers end a run as one piece at a time does: the same files, counts, written rows, steps and
// failures in the order of the rows, though pieces end out of order (those that fail as they are
// read before the slow ones written); with pieces refused, kept or failing as they are written,
// and a name given twice (asked about as the file the first one wrote). The front end hears of it
// all on its own thread. With one worker, or files bound by the disk, a piece is written before
// the next one is read.
TEST(ConvertPieces, WorkersEndAsOnePieceAtATime)
{
    using F = PieceFailure;
    const std::vector<F> told = {F::OverwriteRefused, F::WriteFailed, F::SourceMissing, F::Refused,
                                 F::OverwriteRefused, F::FormatCannotHold, F::NoSuchPiece};
    std::string files;
    for (const auto& [workers, processorBound] : {std::pair(1u, true), std::pair(4u, true), std::pair(4u, false)}) {
        SCOPED_TRACE(std::to_string(workers) + (processorBound ? " workers" : " workers, bound by the disk"));
        Workspace run({"file=slow.wav", "file=keep.wav", "file=slowbad.wav", "file=lost.wav\nwave_file=gone.dat",
                       "file=..", "file=slowok.wav", "file=slowok.wav", "file=b12.wav\nfmt_bits=12"});
        ASSERT_TRUE(writeFileBytes(run.out("keep.flac"), "an earlier file"));
        run.options.format = OutputFormat::Flac;
        StandIn writer(processorBound);
        int readings = 0;
        bool firstWrittenBeforeSecondRead = false;
        run.frontEnd.atReading = [&] {
            if (++readings == 2)
                firstWrittenBeforeSecondRead = pathExists(run.out("slow.flac"));
        };
        const ConversionCounts counts =
            convertPieces(run.definition, run.options, {0, 1, 2, 3, 4, 5, 6, 7, 99}, run.frontEnd, writer, workers);
        EXPECT_EQ(counts, counted(2, 7));
        EXPECT_EQ(counts.written, (std::vector<PieceFile>{{0}, {5}}));
        EXPECT_EQ(counts.kept, (std::vector<PieceFile>{{1}, {6}}));
        EXPECT_EQ(run.frontEnd.failures, told);
        EXPECT_EQ(run.frontEnd.steps, 9 * 4);
        EXPECT_EQ(run.frontEnd.strayCalls, 0);
        EXPECT_EQ(firstWrittenBeforeSecondRead, workers == 1 || !processorBound);
        if (files.empty())
            files = outputs(run);
        EXPECT_EQ(outputs(run), files);
    }
}

// Three pieces of 100 MiB with three workers: two are written at once (one is read while another
// is written) and never three, which would hold more than twice the largest piece and 64 MiB.
TEST(ConvertPieces, WorkersKeepWithinTheMemoryBudget)
{
    const std::string big = "\nwave_file=big.dat\nwave_size=104857600\nloop_size=104857600";
    Workspace run({"file=slow0.wav" + big, "file=slow1.wav" + big, "file=last.wav" + big});
    std::ofstream sparse(joinPath(run.options.bgmFolder, "big.dat"), std::ios::binary);
    if (!sparse.seekp(104857599).write("", 1))
        GTEST_SKIP() << "this file system cannot hold a sparse file of 100 MiB";
    sparse.close();
    StandIn writer(true, std::chrono::milliseconds(1000));
    EXPECT_EQ(convertPieces(run.definition, run.options, {0, 1, 2}, run.frontEnd, writer, 3), counted(3, 0));
    EXPECT_EQ(writer.mostHeld(), 2 * 104857600u);
}

// A fade longer than a 1 MiB chunk, which holds no whole 6-byte frames, still scales frame k by (T - k) / T.
TEST(Fade, KeepsWholeFramesAcrossChunks)
{
    const std::uint32_t frames = 400000;
    std::vector<std::int16_t> samples(frames * 3, -10000);
    Recorder hooks;
    const MusicEntry entry = pieceEntry(3, frames, 16);
    ASSERT_TRUE(applyFade(reinterpret_cast<std::uint8_t*>(samples.data()), frames * 6, entry, 1, hooks));
    for (std::uint32_t k = 0; k < frames * 3; ++k)
        ASSERT_EQ(samples[k], static_cast<std::int16_t>(-10000 * (static_cast<double>(frames - k / 3) / frames))) << k;
}

// A full fade of 2 s over a loop of 1001 bytes (166 frames of 6 bytes and 5 bytes of the next):
// 1.2 MB of fade, so frames that the loop's end splits and chunks of whole frames both occur. The
// loop in the buffer stays as it was read, and no write is larger than a chunk.
TEST(Fade, FullFadeRunsOnThroughTheLoopChunkByChunk)
{
    struct Collected : SampleSink {
        bool write(const std::uint8_t* bytes, std::uint32_t length) override
        {
            data.append(reinterpret_cast<const char*>(bytes), length);
            largest = std::max(largest, length);
            return true;
        }
        std::string data;
        std::uint32_t largest = 0;
    } sink;
    const std::uint32_t rate = 100000, intro = 3, loop = 1001, frames = 2 * rate;
    const std::string source = pattern(0, intro + loop);
    WaveBuffer buffer(source.begin(), source.end());
    Recorder hooks;
    const MusicEntry entry = pieceEntry(3, rate, 16, intro, loop);
    ASSERT_EQ(writeSamples(sink, entry, runOptions(1, 2, true), buffer, hooks), PieceOutcome::Completed);

    std::string expected = source; // the introduction and the one loop
    for (std::uint32_t k = 0; k < frames; ++k) {
        for (std::uint32_t b = 0; b < 6; b += 2) {
            const auto at = [&](std::uint32_t i) { return static_cast<std::uint8_t>(source[intro + (k * 6 + b + i) % loop]); };
            const auto value = static_cast<std::int16_t>(at(0) | at(1) << 8);
            const auto scaled = static_cast<std::int16_t>(value * (static_cast<double>(frames - k) / frames));
            expected += static_cast<char>(scaled & 0xFF);
            expected += static_cast<char>(scaled >> 8 & 0xFF);
        }
    }
    ASSERT_EQ(sink.data.size(), expected.size());
    const auto differ = std::mismatch(sink.data.begin(), sink.data.end(), expected.begin());
    EXPECT_EQ(differ.first - sink.data.begin(), static_cast<std::ptrdiff_t>(expected.size())) << "first wrong byte";
    EXPECT_TRUE(buffer == WaveBuffer(source.begin(), source.end())) << "the loop was changed";
    EXPECT_LE(sink.largest, waveChunkSize);
}
