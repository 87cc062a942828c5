#include "check/data_findings.h"
#include "check/definition_findings.h"
#include "check/definition_survey.h"
#include "cli/messages.h"
#include "definition/output_rule.h"
#include "platform/native_text.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <vector>

// A sound piece's keys but its file: 4-byte frames, a loop of whole frames within the data.
static const std::string sound = "wave_file=bgm.dat\nwave_size=4800\nloop_start=1200\nloop_size=3600\n";
static const std::string format = "fmt_channels=2\nfmt_samples=44100\nfmt_bits=16\n";

// The findings of piece 1 and of the file, as "E code", "W code" or "N code" and the values its
// message quotes (UTF-8, split by "|"), checked against a BGM file of 6000 zero bytes. Piece 0 is
// a sound piece; piece 1 is the same with the given lines put first in its section, so that their
// values win (or a section of their own ends it early).
static std::vector<std::string> findingsOf(const std::string& lines)
{
    TempFolder folder;
    writeFileBytes(folder.file("bgm.dat"), std::string(6000, '\0'));
    writeFileBytes(folder.file("test.mrl"), "[album]\ntitle=A\n[music0000]\nfile=opening.wav\n" + sound + format +
                                                "[music0001]\n" + lines + "\nfile=second.wav\n" + sound + format);
    LoopDefinition definition;
    EXPECT_TRUE(definition.load(folder.file("test.mrl")));
    WaveBuffer buffer;
    DefinitionSurvey survey = surveyDefinition(folder.file("test.mrl"), definition);
    std::vector<std::string> codes;
    for (const Findings& findings : {definitionFindings(definition, 1, OutputOptions()),
                                     checkPieceData(definition.entries()[1], folder.path(), buffer).findings,
                                     survey.notes[1], survey.file})
        for (const Finding& finding : findings) {
            std::string seen = std::string(1, "EWN"[static_cast<int>(finding.level)]) + " " + finding.code;
            for (std::size_t i = 0; i < finding.values.size(); ++i)
                seen += (i == 0 ? " " : "|") + utf8Text(finding.values[i]);
            codes.push_back(seen);
            for (Language language : {Language::Japanese, Language::English}) {
                useLanguage(language);
                EXPECT_EQ(findingMessage(finding).find('$'), std::string::npos) << "a value is missing: " << finding.code;
            }
        }
    return codes;
}

TEST(CheckFindings, TellWhatWouldFailOrSurprise)
{
    const std::string twoByteTitle(254, '\x82'); // 127 times the character 0x82 0x82
    const std::string piece = "file=b.wav\n" + sound + format;
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"", {}}, {"file=..\\x.wav", {"E name-not-plain ..\\x.wav"}},
        {"wave_size=400\nloop_start=100\nloop_size=400", {"E loop-past-data 500|400"}},
        {"wave_size=4000000000\nloop_start=0\nloop_size=4000000000", // 2 loops and 10 s of fade
         {"E too-large 2|10|8,001,764,046", "E bgm-short bgm.dat|4000000000"}},
        {"wave_file=other.dat", {"E bgm-missing other.dat"}}, {"wave_start=1200", {}},
        {"wave_start=1204", {"E bgm-short bgm.dat|6004"}},
        {"file=OPENING.WAV", {"W same-output 0|opening.wav"}}, {"file=opening.wav", {"W same-output 0|opening.wav"}},
        {"file=abcdefghijk.wav", {"W name-cut abcdefghijk.wav"}},
        {"file=track01.mp3", {"W no-wav-ending track01.mp3"}}, {"file=wav", {"W no-wav-ending wav"}},
        {"file=.Wav", {"W nothing-before-wav .Wav"}}, {"file=a.wav", {}},
        {"title=" + twoByteTitle, {"W title-cut"}}, {"title=" + twoByteTitle.substr(2) + "ab", {}},
        {"wave_file=..\\bgm.dat", {"W bgm-outside-folder ..\\bgm.dat", "E bgm-missing ..\\bgm.dat"}},
        {"wave_file=C:bgm.dat", {"W bgm-outside-folder C:bgm.dat", "E bgm-missing C:bgm.dat"}},
        {"wave_file=/none.dat", {"W bgm-outside-folder /none.dat", "E bgm-missing /none.dat"}},
        {"fmt_channels=0", {"W no-channels"}}, {"fmt_bits=12", {"W unusual-bits 12"}},
        {"fmt_bits=8", {}}, {"fmt_bits=24", {}}, {"fmt_bits=32", {}},
        {"fmt_samples=7999", {"W unusual-rate 7999"}}, {"fmt_samples=192000", {}},
        // Any byte may start the data; a loop boundary off a frame, or data ending inside the
        // loop's last frame, split frames.
        {"wave_start=37", {}}, {"loop_start=1198", {"W unaligned loop_start|1198|4"}}, {"loop_size=3598", {"W unaligned loop_size|3598|4"}},
        {"loop_size=3598\nwave_size=4799", {"W unaligned loop_size|3598|4", "W unaligned wave_size|4799|4"}}, {"wave_size=4802", {}},
        // Format values taken from their defaults, for a key that is empty or missing.
        {"fmt_bits=", {"N default-bits fmt_bits|16"}},
        {"file=b.wav\n" + sound + "[rest]", {"N default-channels fmt_channels|2", "N default-rate fmt_samples|44100", "N default-bits fmt_bits|16"}},
        // Sections that reading never reaches.
        {piece + "[music0002]", {}}, {piece + "[music0003]", {"W unread-sections 1|[music0003]|music0002"}},
        {piece + "[Music0002]\ntitle=no file\n[music0004]", {"W unread-sections 2|[Music0002], [music0004]|music0002"}},
        {piece + "[music0002]\ntitle=no file\n[other]", {"W unread-sections 1|[music0002]|music0002"}},
        {piece + "[music1]", {"W unread-sections 1|[music1]|music0002"}},
        // A file saved as UTF-8 ("オー"), and Shift-JIS ("オー") or broken UTF-8 (a surrogate) that is not.
        {"title=\xE3\x82\xAA\xE3\x83\xBC", {"N saved-as-utf8"}}, {"title=\x83\x49\x81\x5B", {}},
        {"title=\xED\xA0\x80", {}},
        // Characters Shift-JIS lacks ("é", "🎵", "𠮷", and "¥", which only a look-alike stands for): a
        // name with one would be another file's, a title or BGM name reads with '?'.
        {"file=caf\xC3\xA9.wav", {"E name-not-shift-jis caf?.wav", "N saved-as-utf8"}},
        {"title=\xE6\x9B\xB2\xF0\x9F\x8E\xB5", {"W text-not-shift-jis title|\xE6\x9B\xB2?", "N saved-as-utf8"}},
        {"title=\xC2\xA5" "100", {"W text-not-shift-jis title|?100", "N saved-as-utf8"}},
        {"wave_file=\xF0\xA0\xAE\xB7.dat", {"W text-not-shift-jis wave_file|?.dat", "E bgm-missing ?.dat", "N saved-as-utf8"}},
    };
    for (const auto& [lines, expected] : cases)
        EXPECT_EQ(findingsOf(lines), expected) << lines;
    // Each text that lost characters is quoted as read, under its own key.
    TempFolder folder;
    writeFileBytes(folder.file("lost.mrl"), "[album]\ntitle=\xC3\xA9" "A\n[music0000]\nfile=a.wav\ntitle=caf\xC3\xA9\n"
                                            "wave_file=bgm\xF0\x9F\x8E\xB5.dat\n" + sound.substr(sound.find('\n') + 1) + format);
    LoopDefinition lost;
    ASSERT_TRUE(lost.load(folder.file("lost.mrl")));
    useLanguage(Language::English);
    std::string messages;
    Findings all = definitionFindings(lost, 0, OutputOptions());
    for (const Finding& finding : surveyDefinition(folder.file("lost.mrl"), lost).file)
        all.push_back(finding);
    for (const Finding& finding : all)
        messages += std::string(levelText(finding.level)) + " " + findingMessage(finding) + "\n";
    EXPECT_EQ(messages, "warning title 'caf?' holds characters Shift-JIS lacks: each is written as ?\n"
                        "warning wave_file 'bgm?.dat' holds characters Shift-JIS lacks: each is written as ?\n"
                        "warning [album] title '?A' holds characters Shift-JIS lacks: each is written as ?\n"
                        "note the file is saved as UTF-8 without a byte-order mark: it was read as UTF-8\n");
    // A byte-order mark makes the reader take UTF-8 for what it is.
    LoopDefinition marked;
    ASSERT_TRUE(marked.load(fixturePath("utf8_bom.mrl")));
    EXPECT_TRUE(surveyDefinition(fixturePath("utf8_bom.mrl"), marked).file.empty());
}
