#include "definition/loop_definition.h"
#include "platform/native_text.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

TEST(LoopDefinition, StopsAtTheFirstMissingSectionNumber)
{
    LoopDefinition definition;
    ASSERT_TRUE(definition.load(fixturePath("gap.mrl")));
    EXPECT_EQ(nativeText(definition.albumTitle()), "抜けのあるアルバム");
    ASSERT_EQ(definition.entries().size(), 2u);
    EXPECT_EQ(definition.entries()[0].file, "a.wav");
    EXPECT_EQ(nativeText(definition.entries()[1].title), "二曲目");
}

TEST(LoopDefinition, AcceptsAFileWhoseFirstPieceHasNoName)
{
    LoopDefinition definition;
    ASSERT_TRUE(definition.load(fixturePath("empty_first_file.mrl")));
    EXPECT_TRUE(definition.entries().empty());
}

TEST(LoopDefinition, RefusesAFileWithoutAlbumTitleAndKeepsTheLastTitle)
{
    LoopDefinition definition;
    ASSERT_TRUE(definition.load(fixturePath("gap.mrl")));
    for (const char* refused : {"no_album.mrl", "empty_album_title.mrl", "does_not_exist.mrl"}) {
        EXPECT_FALSE(definition.load(fixturePath(refused))) << refused;
        EXPECT_TRUE(definition.entries().empty()) << refused;
        EXPECT_EQ(nativeText(definition.albumTitle()), "抜けのあるアルバム") << refused;
    }
}

TEST(LoopDefinition, ReadsEveryKeyOfAPiece)
{
    LoopDefinition definition;
    ASSERT_TRUE(definition.load(fixturePath("full_entry.mrl")));
    ASSERT_EQ(definition.entries().size(), 2u);
    const MusicEntry& first = definition.entries()[0];
    EXPECT_EQ(first.file, "track01.wav");
    EXPECT_EQ(nativeText(first.title), "オープニング");
    EXPECT_EQ(first.wave_file, "bgm.dat");
    EXPECT_EQ(first.wave_start, 16u);
    EXPECT_EQ(first.wave_size, 400u);
    EXPECT_EQ(first.loop_start, 100u);
    EXPECT_EQ(first.loop_size, 300u);
    EXPECT_EQ(first.fmt_channels, 2);
    EXPECT_EQ(first.fmt_samples, 44100u);
    EXPECT_EQ(first.fmt_bits, 16);

    const MusicEntry& second = definition.entries()[1];
    EXPECT_EQ(nativeText(second.file), "表紙.wav");
    EXPECT_EQ(nativeText(second.wave_file), "予備.dat");
    EXPECT_EQ(second.fmt_channels, 2) << "a 16-bit key keeps the low 16 bits of 65538";
    EXPECT_EQ(second.fmt_bits, 8);
    EXPECT_EQ(second.wave_start, 4294967295u);
    EXPECT_EQ(second.wave_size, 2147483648u);
}

TEST(LoopDefinition, GivesDefaultsForMissingKeys)
{
    LoopDefinition definition;
    ASSERT_TRUE(definition.load(fixturePath("defaults.mrl")));
    ASSERT_EQ(definition.entries().size(), 1u);
    const MusicEntry& entry = definition.entries()[0];
    EXPECT_EQ(entry.title, "");
    EXPECT_EQ(entry.wave_file, "");
    EXPECT_EQ(entry.fmt_channels, 2);
    EXPECT_EQ(entry.fmt_samples, 44100u);
    EXPECT_EQ(entry.fmt_bits, 16);
    EXPECT_EQ(entry.wave_start + entry.wave_size + entry.loop_start + entry.loop_size, 0u);
}

TEST(LoopDefinition, CutsLongTextsWithoutSplittingACharacter)
{
    LoopDefinition definition;
    ASSERT_TRUE(definition.load(fixturePath("long_values.mrl")));
    ASSERT_EQ(definition.entries().size(), 2u);
    const MusicEntry& first = definition.entries()[0];
    EXPECT_EQ(first.file, "abcdefghijklmno");
    EXPECT_EQ(first.title, std::string(255, 'x'));
    EXPECT_EQ(first.wave_file, "abcdefghijklmn") << "the two-byte 表 would end at byte 16";
    const MusicEntry& second = definition.entries()[1];
    EXPECT_EQ(second.file, "abcdefghijklmn") << "ソ would end at byte 16";
    EXPECT_EQ(second.title.size(), 254u) << "127 two-byte characters fit in 255 bytes";
}

TEST(LoopDefinition, ReplacesEveryEntryOnTheNextLoad)
{
    LoopDefinition definition;
    ASSERT_TRUE(definition.load(fixturePath("gap.mrl")));
    ASSERT_TRUE(definition.load(fixturePath("defaults.mrl")));
    ASSERT_EQ(definition.entries().size(), 1u);
    EXPECT_EQ(definition.entries()[0].file, "only.wav");
}

TEST(LoopDefinition, ReadsAnyLineEndAndByteOrderMarkedFiles)
{
    LoopDefinition definition;
    for (const char* name : {"line_ends_lf.mrl", "line_ends_cr.mrl"}) {
        ASSERT_TRUE(definition.load(fixturePath(name))) << name;
        ASSERT_EQ(definition.entries().size(), 1u) << name;
        EXPECT_EQ(definition.entries()[0].loop_size, 7u) << name;
    }
    for (const char* name : {"utf8_bom.mrl", "utf16_bom.mrl"}) {
        ASSERT_TRUE(definition.load(fixturePath(name))) << name;
        EXPECT_EQ(nativeText(definition.albumTitle()), "ユニコード") << name;
        ASSERT_EQ(definition.entries().size(), 1u) << name;
        EXPECT_EQ(nativeText(definition.entries()[0].title), "曲名") << name;
    }
}

TEST(LoopDefinition, NamesSectionsWithFourDigitsAtLeast)
{
    EXPECT_EQ(musicSectionName(0), "music0000");
    EXPECT_EQ(musicSectionName(42), "music0042");
    EXPECT_EQ(musicSectionName(10000), "music10000");
}

TEST(LoopDefinition, EndsAValueAtANulByteAsTheSystemDoes)
{
    LoopDefinition definition;
    ASSERT_TRUE(definition.load(fixturePath("nul_in_value.mrl")));
    ASSERT_EQ(definition.entries().size(), 1u);
    EXPECT_EQ(definition.entries()[0].file, "ab");
    EXPECT_EQ(definition.entries()[0].title, "x");
}
