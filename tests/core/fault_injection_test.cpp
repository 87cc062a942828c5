// Faults a conversion run meets in the field, produced for real (missing and short files,
// missing or read-only folders, a full disk, a cancel, huge definitions and extreme values):
// each is reported in the counts and no data outside the output folder is lost.
#include "fault_support.h"

#include "definition/loop_definition.h"
#include "definition/output_rule.h"
#include "platform/native_text.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <sys/time.h>
#endif

namespace {

using namespace faults;

const std::vector<std::string> onlyBgm = {"bgm.dat"};

// A BGM folder holding bgm.dat, an output folder and a definition beside them.
class ConversionFaults : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(root.path().empty());
        ASSERT_TRUE(makeFolder(bgm()));
        ASSERT_TRUE(makeFolder(out()));
        options.bgmFolder = bgm();
        options.outputFolder = out();
        options.loopCount = 2;
        options.fadeSeconds = 0;
    }

    std::string bgm() const { return root.file("bgm"); }
    std::string out() const { return root.file("out"); }
    std::string bgmFile(const std::string& name) const { return joinPath(bgm(), name); }
    std::string outFile(const std::string& name) const { return joinPath(out(), name); }

    void writeBgm(std::uint64_t length) { ASSERT_TRUE(writeFileBytes(bgmFile("bgm.dat"), patternBytes(0, length))); }

    void load(const std::vector<PieceText>& pieces)
    {
        ASSERT_TRUE(writeFileBytes(root.file("faults.mrl"), definitionText(pieces)));
        ASSERT_TRUE(definition.load(root.file("faults.mrl")));
        ASSERT_EQ(definition.entries().size(), pieces.size());
    }

    ConversionCounts convertAll()
    {
        std::vector<std::int32_t> rows;
        for (std::size_t i = 0; i < definition.entries().size(); ++i)
            rows.push_back(static_cast<std::int32_t>(i));
        return convertPieces(definition, options, rows, frontEnd);
    }

    // Nothing but the definition and the two folders at the top, and the BGM file unchanged.
    void expectNothingElseTouched(std::uint64_t bgmLength)
    {
        EXPECT_EQ(listFolder(root.path()), (std::vector<std::string>{"bgm" + separator(), "faults.mrl", "out" + separator()}));
        EXPECT_EQ(listFolder(bgm()), onlyBgm);
        EXPECT_EQ(readFileBytes(bgmFile("bgm.dat")), patternBytes(0, bgmLength));
    }

    void expectWritten(std::size_t entry)
    {
        const MusicEntry& e = definition.entries()[entry];
        EXPECT_EQ(readFileBytes(outFile(e.file)), expectedWithoutFade(e, options.loopCount)) << e.file;
    }

    static std::string separator() { return joinPath("a", "b").substr(1, 1); }

    TempFolder root;
    LoopDefinition definition;
    OutputOptions options;
    FaultFrontEnd frontEnd;
};

PieceText piece(const std::string& file, std::uint64_t start, std::uint64_t intro, std::uint64_t loop)
{
    PieceText p;
    p.file = file;
    p.wave_start = start;
    p.wave_size = intro + loop;
    p.loop_start = intro;
    p.loop_size = loop;
    return p;
}

using Failures = std::vector<std::pair<std::string, PieceFailure>>;

TEST_F(ConversionFaults, MissingOrShortBgmFileFailsWithoutCreatingOutput)
{
    writeBgm(5000);
    PieceText missing = piece("missing.wav", 0, 10, 100);
    missing.wave_file = "nothere.dat";
    load({piece("a.wav", 0, 100, 1000), missing, piece("short.wav", 4000, 500, 501), piece("past.wav", 6000, 0, 1),
          piece("b.wav", 3000, 0, 2000)});

    ConversionCounts counts = convertAll();

    EXPECT_EQ(counts.successes, 2u);
    EXPECT_EQ(counts.failures, 3u);
    EXPECT_FALSE(counts.cancelled);
    EXPECT_EQ(frontEnd.failures, (Failures{{"missing.wav", PieceFailure::SourceMissing},
                                           {"short.wav", PieceFailure::ShortSource},
                                           {"past.wav", PieceFailure::ShortSource}}));
    EXPECT_EQ(frontEnd.steps, 5u * (options.loopCount + 2)) << "failed pieces make up their steps";
    EXPECT_EQ(listFolder(out()), (std::vector<std::string>{"a.wav", "b.wav"}));
    expectWritten(0);
    expectWritten(4);
    expectNothingElseTouched(5000);
}

TEST_F(ConversionFaults, MissingOutputFolderFailsEveryPieceAndIsNotCreated)
{
    writeBgm(1000);
    load({piece("a.wav", 0, 10, 100), piece("b.wav", 0, 0, 1000)});
    options.outputFolder = root.file("gone");

    ConversionCounts counts = convertAll();

    EXPECT_EQ(counts.successes, 0u);
    EXPECT_EQ(counts.failures, 2u);
    EXPECT_EQ(frontEnd.failures,
              (Failures{{"a.wav", PieceFailure::CannotCreate}, {"b.wav", PieceFailure::CannotCreate}}));
    EXPECT_FALSE(fileExists(root.file("gone")));
    expectNothingElseTouched(1000);
}

TEST_F(ConversionFaults, ReadOnlyOutputFolderFailsEveryPiece)
{
    writeBgm(1000);
    load({piece("a.wav", 0, 10, 100), piece("b.wav", 0, 0, 1000)});
    ASSERT_TRUE(setReadOnly(out(), true));
    const std::string probe = outFile("probe");
    if (writeFileBytes(probe, "x")) {
        setReadOnly(out(), false);
        GTEST_SKIP() << "this account may write into read-only folders (an administrator or root)";
    }

    ConversionCounts counts = convertAll();
    setReadOnly(out(), false);

    EXPECT_EQ(counts.successes, 0u);
    EXPECT_EQ(counts.failures, 2u);
    EXPECT_TRUE(listFolder(out()).empty());
    expectNothingElseTouched(1000);
}

TEST_F(ConversionFaults, ExistingOutputIsReplacedOnlyAfterYes)
{
    writeBgm(1000);
    load({piece("kept.wav", 0, 10, 100), piece("new.wav", 0, 0, 1000)});
    const std::string earlier = "an earlier recording\r\n\0 with every byte kept";
    ASSERT_TRUE(writeFileBytes(outFile("kept.wav"), earlier));

    ConversionCounts refused = convertAll();

    EXPECT_EQ(refused.successes, 1u);
    EXPECT_EQ(refused.failures, 1u);
    EXPECT_EQ(frontEnd.asked, std::vector<std::string>{outFile("kept.wav")});
    EXPECT_EQ(frontEnd.failures, (Failures{{"kept.wav", PieceFailure::OverwriteRefused}}));
    EXPECT_EQ(readFileBytes(outFile("kept.wav")), earlier);
    expectWritten(1);

    FaultFrontEnd yes;
    yes.answer = true;
    ConversionCounts replaced = convertPieces(definition, options, {0, 1}, yes);
    EXPECT_EQ(replaced.successes, 2u);
    EXPECT_EQ(replaced.failures, 0u);
    EXPECT_EQ(yes.asked.size(), 2u);
    expectWritten(0);
    expectWritten(1);
    expectNothingElseTouched(1000);
}

TEST_F(ConversionFaults, ReadOnlyExistingOutputSurvivesYes)
{
#ifndef _WIN32
    GTEST_SKIP() << "on POSIX a read-only file in a writable folder may be replaced; only Windows refuses";
#endif
    writeBgm(1000);
    load({piece("locked.wav", 0, 10, 100)});
    ASSERT_TRUE(writeFileBytes(outFile("locked.wav"), "locked"));
    ASSERT_TRUE(setReadOnly(outFile("locked.wav"), true));
    frontEnd.answer = true;

    ConversionCounts counts = convertAll();
    setReadOnly(outFile("locked.wav"), false);

    EXPECT_EQ(counts.failures, 1u);
    EXPECT_EQ(frontEnd.failures, (Failures{{"locked.wav", PieceFailure::CannotCreate}}));
    EXPECT_EQ(readFileBytes(outFile("locked.wav")), "locked");
}

#ifndef _WIN32
// Files of this process may grow to the given size only; writes past it fail with EFBIG
// (SIGXFSZ ignored), as on a disk that is full.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        active_ = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    bool active() const { return active_; }

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
    bool active_ = false;
};
#endif

TEST_F(ConversionFaults, WritesFailingPartWayAreCountedAndLaterPiecesStillWrite)
{
#ifdef _WIN32
    GTEST_SKIP() << "a full disk is produced with a POSIX file size limit, which a Windows program cannot set";
#else
    writeBgm(3 * 0x100000);
    load({piece("small.wav", 0, 100, 10000), piece("large.wav", 0, 1000, 3 * 0x100000 - 1000),
          piece("after.wav", 50, 0, 20000)});
    ConversionCounts counts;
    {
        FileSizeLimit limit(256 * 1024);
        ASSERT_TRUE(limit.active());
        counts = convertAll();
    }

    EXPECT_EQ(counts.successes, 2u);
    EXPECT_EQ(counts.failures, 1u);
    EXPECT_EQ(frontEnd.failures, (Failures{{"large.wav", PieceFailure::WriteFailed}}));
    EXPECT_EQ(frontEnd.steps, 3u * (options.loopCount + 2));
    expectWritten(0);
    expectWritten(2);
    EXPECT_LE(readFileBytes(outFile("large.wav")).size(), 256u * 1024) << "the failed file is left as written";
    expectNothingElseTouched(3 * 0x100000);
#endif
}

TEST_F(ConversionFaults, CancelLeavesEarlierFilesCompleteCurrentPartialLaterUntouched)
{
    writeBgm(4 * 0x100000);
    load({piece("first.wav", 0, 100, 2 * 0x100000), piece("second.wav", 0, 1000, 3 * 0x100000),
          piece("third.wav", 0, 0, 1000)});
    ASSERT_TRUE(writeFileBytes(outFile("third.wav"), "older third"));
    frontEnd.answer = true;
    frontEnd.cancelWhileWriting(2, 2);

    ConversionCounts counts = convertAll();

    EXPECT_TRUE(counts.cancelled);
    EXPECT_EQ(counts.successes, 1u);
    EXPECT_EQ(counts.failures, 0u);
    expectWritten(0);
    const std::string second = readFileBytes(outFile("second.wav"));
    const std::string full = expectedWithoutFade(definition.entries()[1], options.loopCount);
    EXPECT_GT(second.size(), 46u + 1000);
    EXPECT_LT(second.size(), full.size());
    EXPECT_EQ(second, full.substr(0, second.size())) << "what was written is right as far as it goes";
    EXPECT_EQ(readFileBytes(outFile("third.wav")), "older third");
    EXPECT_EQ(frontEnd.asked, std::vector<std::string>{}) << "no question about a piece after the cancel";
    expectNothingElseTouched(4 * 0x100000);
}

#ifdef _WIN32
// Under Wine every profile read is a round trip to the Wine server (about 0.6 ms), so loading
// 10,000 pieces takes a minute there; 2,000 keep the same cases in a tenth of the time.
constexpr int manyPieces = 2000;
#else
constexpr int manyPieces = 10000;
#endif

TEST_F(ConversionFaults, ThousandsOfPiecesLoadAndAreWrittenOrRefused)
{
    writeBgm(4096);
    std::vector<PieceText> pieces;
    for (int n = 0; n < manyPieces; ++n) {
        PieceText p = piece("p" + std::to_string(n) + ".wav", n % 4000, 8, 88);
        if (n % 100 != 0)
            p.loop_size = 89 + n % 7; // reaches past the piece's data
        if (n % 1000 == 500)
            p.file = "..";
        pieces.push_back(p);
    }
    load(pieces);
    options.loopCount = 3;

    ConversionCounts counts = convertAll();

    // Every hundredth piece is sound, except the one in every thousand named "..".
    const unsigned written = manyPieces / 100 - manyPieces / 1000;
    EXPECT_EQ(counts.successes, written);
    EXPECT_EQ(counts.failures, manyPieces - written);
    EXPECT_EQ(frontEnd.steps, manyPieces * 5u);
    ASSERT_EQ(frontEnd.failures.size(), manyPieces - written);
    EXPECT_EQ(frontEnd.failures[4].second, PieceFailure::LoopPastData);
    EXPECT_EQ(frontEnd.failures[495].second, PieceFailure::NameLeavesFolder);
    EXPECT_EQ(listFolder(out()).size(), written);
    expectWritten(0);
    expectWritten(manyPieces - 100);
    expectNothingElseTouched(4096);
}

TEST_F(ConversionFaults, WaveSizeFarPastTheFileFailsBeforeMemoryIsSetAside)
{
    writeBgm(100);
    PieceText huge = piece("huge.wav", 0, 0, 0);
    huge.wave_size = 0xFFFFFFFFull;
    load({huge, piece("after.wav", 0, 10, 90)});

    ConversionCounts counts = convertAll();

    EXPECT_EQ(counts.successes, 1u);
    EXPECT_EQ(frontEnd.failures, (Failures{{"huge.wav", PieceFailure::ShortSource}}));
    expectWritten(1);
    expectNothingElseTouched(100);
#ifndef _WIN32
    rusage usage{};
    ASSERT_EQ(getrusage(RUSAGE_SELF, &usage), 0);
    EXPECT_LT(usage.ru_maxrss, 1024L * 1024) << "peak memory in KiB: 4 GiB of zeros were never made";
#endif
}

TEST_F(ConversionFaults, ExtremeOffsetsAndSizesAreReadExactlyOrRefused)
{
    const std::uint64_t twoGiB = 0x80000000ull;
    const std::uint64_t top = 0xFFFFFFFFull;
    // Data at 2 GiB and across 4 GiB, the rest of the file a hole.
    const std::string atTwo = patternBytes(twoGiB, 3000);
    const std::string acrossFour = patternBytes(top - 999, 2000);
    if (!writeSparseFile(bgmFile("huge.dat"), top + 1002, {{twoGiB, atTwo}, {top - 999, acrossFour}})) {
        GTEST_SKIP() << "this file system cannot hold a sparse file of 4 GiB";
    }
    writeBgm(100);
    std::vector<PieceText> pieces = {piece("two.wav", twoGiB, 1000, 2000), piece("four.wav", top - 999, 500, 1500),
                                     piece("zero.wav", 0, 0, 0), piece("wraps.wav", 0, 1, top),
                                     piece("toolarge.wav", 0, 0, twoGiB), piece("fastest.wav", 0, 10, 90)};
    for (std::size_t i = 0; i < 2; ++i)
        pieces[i].wave_file = "huge.dat";
    pieces[3].wave_size = top;
    pieces[5].fmt_samples = top;
    load(pieces);
    options.loopCount = 999;

    ConversionCounts counts = convertAll();

    EXPECT_EQ(counts.successes, 4u);
    EXPECT_EQ(counts.failures, 2u);
    EXPECT_EQ(frontEnd.failures,
              (Failures{{"wraps.wav", PieceFailure::LoopPastData}, {"toolarge.wav", PieceFailure::TooLarge}}));
    expectWritten(0);
    expectWritten(1);
    expectWritten(2);
    expectWritten(5);

    // The longest fade of the fastest rate is still one loop at most.
    options.fadeSeconds = 999;
    options.loopCount = 0;
    FaultFrontEnd again;
    again.answer = true;
    EXPECT_EQ(convertPieces(definition, options, {5}, again).successes, 1u);
    EXPECT_EQ(readFileBytes(outFile("fastest.wav")).size(), 46u + 10 + 90);
}

} // namespace
