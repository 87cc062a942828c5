// A cancelled run leaves no incomplete WAVE file: the piece being written goes, earlier pieces
// stay as written, later ones are not touched, and nothing outside the output folder changes.
#include "convert/convert_pieces.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace {

// Answers every question with yes and cancels at the n-th yield (0: never).
class CancelAtYield : public ConversionFrontEnd {
public:
    explicit CancelAtYield(int n) : cancelAt_(n) {}
    void step() override {}
    void yieldOnce() override { cancelled_ = cancelled_ || ++yields_ == cancelAt_; }
    bool isCancelled() override { return cancelled_; }
    void showReading(const MusicEntry&) override {}
    void showWriting(const MusicEntry&) override {}
    bool confirmOverwrite(const std::string&) override { return true; }
    void pieceFailed(const MusicEntry& entry, PieceFailure) override { ADD_FAILURE() << entry.file; }

private:
    int cancelAt_, yields_ = 0;
    bool cancelled_ = false;
};

using Contents = std::map<std::string, std::string>;

Contents contents(const std::string& folder)
{
    Contents files;
    for (const auto& item : std::filesystem::directory_iterator(folder))
        files[item.path().filename().string()] = readFileBytes(item.path().string());
    return files;
}

// Pieces a and b of 1000 + 1.25 MiB, one loop, a 6 s fade of 16-bit stereo: each yields twice
// reading, 2 + 1 times writing its loop, twice fading and once at its end.
ConversionCounts convert(const TempFolder& source, const std::string& out, int cancelAt)
{
    std::string text = "[album]\ntitle=T\n";
    for (const char* name : {"0]\nfile=a", "1]\nfile=b"})
        text += std::string("[music000") + name + ".wav\nwave_file=bgm.dat\nwave_start=0\nwave_size=1311720\n"
                "loop_start=1000\nloop_size=1310720\nfmt_channels=2\nfmt_samples=44100\nfmt_bits=16\n";
    EXPECT_TRUE(writeFileBytes(source.file("test.mrl"), text));
    EXPECT_TRUE(writeFileBytes(source.file("bgm.dat"), std::string(1311720, 'x')));
    LoopDefinition definition;
    EXPECT_TRUE(definition.load(source.file("test.mrl")));
    CancelAtYield frontEnd(cancelAt);
    return convertPieces(definition, OutputOptions{1, 6, out, source.path()}, {0, 1}, frontEnd);
}

TEST(CancelledRun, RemovesTheUnfinishedFileAndKeepsEverythingElse)
{
    TempFolder source, whole;
    ASSERT_EQ(convert(source, whole.path(), 0).successes, 2u);
    const Contents sources = contents(source.path());
    const std::string a = readFileBytes(whole.file("a.wav"));
    const struct {
        const char* when;
        int yield;
        std::uint32_t successes;
        Contents left;
    } cases[] = {
        {"reading a", 1, 0, {{"b.wav", "older b"}}},
        {"a's first loop", 3, 0, {{"b.wav", "older b"}}},
        {"a's fade", 6, 0, {{"b.wav", "older b"}}},
        {"between a and b", 8, 1, {{"a.wav", a}, {"b.wav", "older b"}}},
        {"writing b over the older b", 11, 1, {{"a.wav", a}}},
    };
    for (const auto& c : cases) {
        TempFolder out;
        ASSERT_TRUE(writeFileBytes(out.file("b.wav"), "older b"));
        ConversionCounts counts = convert(source, out.path(), c.yield);
        EXPECT_TRUE(counts.cancelled && !counts.partLeft && counts.failures == 0) << c.when;
        EXPECT_EQ(counts.successes, c.successes) << c.when;
        EXPECT_TRUE(contents(out.path()) == c.left) << c.when;
        EXPECT_TRUE(contents(source.path()) == sources) << c.when;
    }
}

} // namespace
