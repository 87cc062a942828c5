#include "convert/data_findings.h"
#include "definition/definition_findings.h"
#include "definition/output_rule.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <vector>

// The findings of piece 1, as "E code" or "W code", checked against a BGM file of 6000 zero bytes.
// Piece 0 is a sound piece; piece 1 is the same with the given lines put first in its section, so
// that their values win.
static std::vector<std::string> findingsOf(const std::string& lines)
{
    TempFolder folder;
    const std::string sound = "wave_file=bgm.dat\nwave_size=4800\nloop_start=1200\nloop_size=3600\n";
    writeFileBytes(folder.file("bgm.dat"), std::string(6000, '\0'));
    writeFileBytes(folder.file("test.mrl"), "[album]\ntitle=A\n[music0000]\nfile=opening.wav\n" + sound +
                                                "[music0001]\n" + lines + "\nfile=second.wav\n" + sound);
    LoopDefinition definition;
    EXPECT_TRUE(definition.load(folder.file("test.mrl")));
    WaveBuffer buffer;
    std::vector<std::string> codes;
    for (const Findings& findings :
         {definitionFindings(definition, 1, 2, FadeRequest{10}), checkPieceData(definition.entries()[1], folder.path(), buffer).findings})
        for (const Finding& finding : findings)
            codes.push_back(std::string(finding.level == FindingLevel::Error ? "E " : "W ") + finding.code);
    return codes;
}

TEST(CheckFindings, TellWhatWouldFailOrSurprise)
{
    const std::string twoByteTitle(254, '\x82'); // 127 times the character 0x82 0x82
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"", {}}, {"file=..\\x.wav", {"E name-not-plain"}},
        {"wave_size=400\nloop_start=100\nloop_size=400", {"E loop-past-data"}},
        {"wave_size=4000000000\nloop_start=0\nloop_size=4000000000", {"E too-large", "E bgm-short"}},
        {"wave_file=other.dat", {"E bgm-missing"}}, {"wave_start=1200", {}}, {"wave_start=1204", {"E bgm-short"}},
        {"file=OPENING.WAV", {"W same-output"}}, {"file=abcdefghijk.wav", {"W name-cut"}},
        {"file=track01.mp3", {"W no-wav-ending"}},
        {"title=" + twoByteTitle, {"W title-cut"}}, {"title=" + twoByteTitle.substr(2) + "ab", {}},
        {"wave_file=..\\bgm.dat", {"W bgm-outside-folder", "E bgm-missing"}},
        {"wave_file=C:bgm.dat", {"W bgm-outside-folder", "E bgm-missing"}},
        {"wave_file=/none.dat", {"W bgm-outside-folder", "E bgm-missing"}},
        {"fmt_channels=0", {"W no-channels"}}, {"fmt_bits=12", {"W unusual-bits"}},
        {"fmt_samples=7999", {"W unusual-rate"}}, {"fmt_samples=192000", {}},
        {"loop_size=3598", {"W unaligned"}}, {"wave_start=2\nfile=x", {"W no-wav-ending", "W unaligned"}},
    };
    for (const auto& [lines, expected] : cases)
        EXPECT_EQ(findingsOf(lines), expected) << lines;
}
