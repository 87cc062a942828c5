#include "convert/convert_pieces.h"
#include "convert/fade.h"
#include "convert/wave_header.h"
#include "convert/wave_writer.h"
#include "definition/output_rule.h"
#include "recording_front_end.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

struct PieceSpec {
    std::string file;
    std::uint32_t start;
    std::uint32_t introBytes;
    std::uint32_t loopBytes;
    std::uint32_t waveSize; // 0: introBytes + loopBytes
};

// A BGM file, a definition over it, and the folders of a run, all in one temporary folder.
class ConversionSetup {
public:
    explicit ConversionSetup(const std::vector<PieceSpec>& pieces, std::size_t bgmBytes = 1 << 20)
    {
        bgm_.resize(bgmBytes);
        for (std::size_t i = 0; i < bgm_.size(); ++i)
            bgm_[i] = static_cast<char>((i * 2654435761u) >> 13);
        makeFolder(folder_.file("bgm"));
        makeFolder(folder_.file("out"));
        writeFileBytes(folder_.file("bgm") + separator() + "bgm.dat", bgm_);
        std::ostringstream text;
        text << "[album]\r\ntitle=Test\r\n";
        for (std::size_t n = 0; n < pieces.size(); ++n) {
            const PieceSpec& p = pieces[n];
            text << "[music000" << n << "]\r\nfile=" << p.file << "\r\nwave_file=bgm.dat\r\nwave_start=" << p.start
                 << "\r\nwave_size=" << (p.waveSize ? p.waveSize : p.introBytes + p.loopBytes)
                 << "\r\nloop_start=" << p.introBytes << "\r\nloop_size=" << p.loopBytes << "\r\n";
        }
        writeFileBytes(folder_.file("test.mrl"), text.str());
        EXPECT_TRUE(definition.load(folder_.file("test.mrl")));
        options.bgmFolder = folder_.file("bgm");
        options.outputFolder = folder_.file("out");
        options.loopCount = 2;
        options.fadeSeconds = 1;
    }

    std::string output(const std::string& name) const { return options.outputFolder + separator() + name; }
    std::string outside(const std::string& name) const { return folder_.file(name); }

    // What the file of entry n must hold, built from the pieces of the writer.
    std::string expectedFile(std::size_t n) const
    {
        const MusicEntry& e = definition.entries()[n];
        std::string data = bgm_.substr(e.wave_start, e.wave_size);
        std::uint32_t fade = fadeLength(e, options.fadeSeconds);
        WaveBuffer faded(data.begin() + e.loop_start, data.begin() + e.loop_start + fade);
        RecordingFrontEnd hooks;
        applyFade(faded.data(), fade, e, options.fadeSeconds, hooks);
        auto header = waveHeader(e, options.loopCount, options.fadeSeconds);
        std::string file(header.begin(), header.end());
        file += data.substr(0, e.loop_start);
        for (std::uint32_t i = 0; i < options.loopCount; ++i)
            file += data.substr(e.loop_start, e.loop_size);
        return file + std::string(faded.begin(), faded.end());
    }

    ConversionCounts run(const std::vector<std::int32_t>& rows) { return convertPieces(definition, options, rows, frontEnd); }

    LoopDefinition definition;
    OutputOptions options;
    RecordingFrontEnd frontEnd;

private:
    std::string separator() const { return folder_.file("").substr(folder_.path().size()); }

    TempFolder folder_;
    std::string bgm_;
};

} // namespace

TEST(ConvertPieces, WritesEveryChosenPieceInOrder)
{
    ConversionSetup setup({{"a.wav", 100, 1000, 44100 * 4, 0}, {"b.wav", 0, 0, 4000, 0}, {"c.wav", 7, 3, 8, 0}});
    ConversionCounts counts = setup.run({0, 2});
    EXPECT_EQ(counts.successes, 2u);
    EXPECT_EQ(counts.failures, 0u);
    EXPECT_FALSE(counts.cancelled);
    EXPECT_EQ(readFileBytes(setup.output("a.wav")), setup.expectedFile(0));
    EXPECT_EQ(readFileBytes(setup.output("c.wav")), setup.expectedFile(2));
    EXPECT_FALSE(fileExists(setup.output("b.wav")));
    EXPECT_EQ(setup.frontEnd.steps, 2 * (2 + 2));
    EXPECT_EQ(setup.frontEnd.reading, (std::vector<std::string>{"a.wav", "c.wav"}));
}

TEST(ConvertPieces, RefusesUnsafePiecesBeforeTouchingAnyFile)
{
    ConversionSetup setup({{"..\\evil.wav", 0, 0, 100, 0},
                           {"sub/evil.wav", 0, 0, 100, 0},
                           {"loop.wav", 0, 50, 100, 120},
                           {"huge.wav", 0, 0, 2000000000u, 2000000000u}});
    setup.options.loopCount = 3;
    ConversionCounts counts = setup.run({0, 1, 2, 3});
    EXPECT_EQ(counts.successes, 0u);
    EXPECT_EQ(counts.failures, 4u);
    EXPECT_EQ(setup.frontEnd.failures,
              (std::vector<PieceFailure>{PieceFailure::NameLeavesFolder, PieceFailure::NameLeavesFolder,
                                         PieceFailure::LoopPastData, PieceFailure::TooLarge}));
    EXPECT_EQ(setup.frontEnd.steps, 4 * (3 + 2)) << "refused pieces make up their steps";
    EXPECT_FALSE(fileExists(setup.outside("evil.wav")));
    EXPECT_FALSE(fileExists(setup.output("loop.wav")));
    EXPECT_FALSE(fileExists(setup.output("huge.wav")));
}

TEST(ConvertPieces, CountsAMissingOrShortBgmFileAsAFailure)
{
    ConversionSetup setup({{"short.wav", (1 << 20) - 50, 0, 100, 0}, {"ok.wav", 0, 0, 100, 0}});
    ConversionCounts counts = setup.run({0, 1});
    EXPECT_EQ(counts.successes, 1u);
    EXPECT_EQ(counts.failures, 1u);
    EXPECT_EQ(setup.frontEnd.failures, std::vector<PieceFailure>{PieceFailure::ShortSource});
    EXPECT_FALSE(fileExists(setup.output("short.wav")));

    setup.options.bgmFolder = setup.outside("no such folder");
    RecordingFrontEnd fresh;
    counts = convertPieces(setup.definition, setup.options, {0, 1}, fresh);
    EXPECT_EQ(counts.failures, 2u);
    EXPECT_EQ(fresh.steps, 2 * 4);
    EXPECT_EQ(fresh.failures, (std::vector<PieceFailure>{PieceFailure::SourceMissing, PieceFailure::SourceMissing}));
}

TEST(ConvertPieces, KeepsAnExistingFileUnlessTheUserAgrees)
{
    ConversionSetup setup({{"a.wav", 0, 10, 100, 0}});
    writeFileBytes(setup.output("a.wav"), "precious");
    ConversionCounts counts = setup.run({0});
    EXPECT_EQ(counts.failures, 1u);
    EXPECT_EQ(setup.frontEnd.questions, std::vector<std::string>{setup.output("a.wav")});
    EXPECT_EQ(readFileBytes(setup.output("a.wav")), "precious");
    EXPECT_EQ(setup.frontEnd.steps, 4);

    setup.frontEnd.overwrite = true;
    counts = setup.run({0});
    EXPECT_EQ(counts.successes, 1u);
    EXPECT_EQ(readFileBytes(setup.output("a.wav")), setup.expectedFile(0));
}

TEST(ConvertPieces, FailsWhenTheOutputFolderIsMissing)
{
    ConversionSetup setup({{"a.wav", 0, 10, 100, 0}});
    setup.options.outputFolder = setup.outside("missing");
    ConversionCounts counts = setup.run({0});
    EXPECT_EQ(counts.failures, 1u);
    EXPECT_EQ(setup.frontEnd.failures, std::vector<PieceFailure>{PieceFailure::CannotCreate});
    EXPECT_EQ(setup.frontEnd.steps, 4);
}

TEST(ConvertPieces, StopsOnCancelLeavingTheCurrentFileAsWritten)
{
    const std::uint32_t loop = 3 << 20;
    ConversionSetup setup({{"a.wav", 0, 0, 1000, 0}, {"b.wav", 0, 0, loop, 0}, {"c.wav", 0, 0, 1000, 0}},
                          loop + 16);
    // a.wav yields after its read chunk, each loop chunk and loop end, the fade and the end: 7.
    // b.wav yields after each of 3 read chunks, then after its first loop chunk.
    setup.frontEnd.cancelAfterYields = 7 + 3 + 1;
    ConversionCounts counts = setup.run({0, 1, 2});
    EXPECT_TRUE(counts.cancelled);
    EXPECT_EQ(counts.successes, 1u);
    EXPECT_EQ(counts.failures, 0u);
    EXPECT_EQ(readFileBytes(setup.output("a.wav")), setup.expectedFile(0));
    EXPECT_EQ(readFileBytes(setup.output("b.wav")).size(), 46u + (1 << 20));
    EXPECT_FALSE(fileExists(setup.output("c.wav")));
}

TEST(ConvertPieces, CountsARowWithoutAPieceAsAFailure)
{
    ConversionSetup setup({{"a.wav", 0, 0, 100, 0}});
    ConversionCounts counts = setup.run({5, -1, 0});
    EXPECT_EQ(counts.successes, 1u);
    EXPECT_EQ(counts.failures, 2u);
    EXPECT_EQ(setup.frontEnd.steps, 3 * 4);
}

TEST(ConvertPieces, CountsStepsOfAWholeRun)
{
    EXPECT_EQ(conversionSteps(0, 2), 1u);
    EXPECT_EQ(conversionSteps(2, 3), 11u);
    EXPECT_EQ(conversionSteps(70, 999), 70u * 1001 + 1);
}
